#include "app/event_source_command.h"

#include <windows.h>
#include <shellapi.h>

#include "base/text_encoding.h"
#include "base/unique_any.h"
#include "log/event_log.h"
#include "storage/data_paths.h"

namespace veltrano {
namespace {

// A GUI program has a standard error stream only when its starter gave it one; else the
// console of the shell that started it, if there is one.
void WriteError(const std::wstring& text) {
    HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    UniqueHandle console;
    if ((!error || error == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        console = UniqueHandle(::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        error = console ? console.Get() : nullptr;
    }
    if (!error || error == INVALID_HANDLE_VALUE) return;
    const std::string bytes = WideToUtf8(L"Veltrano: " + text + L"\r\n");
    DWORD written = 0;
    ::WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

std::optional<int> RunEventSourceCommand(const std::wstring& commandLine) {
    int count = 0;
    const UniqueHlocal arguments(::CommandLineToArgvW(commandLine.c_str(), &count));
    if (!arguments || count != 2) return std::nullopt;
    const std::wstring command = static_cast<wchar_t**>(arguments.Get())[1];
    std::wstring failure;
    if (::CompareStringOrdinal(command.c_str(), -1, L"/RegisterEventSource", -1, TRUE) == CSTR_EQUAL) {
        const std::wstring program = ProgramPath();
        failure = program.empty() ? L"GetModuleFileNameW failed" : RegisterEventSource(program);
    } else if (::CompareStringOrdinal(command.c_str(), -1, L"/UnregisterEventSource", -1, TRUE) == CSTR_EQUAL) {
        failure = UnregisterEventSource();
    } else {
        return std::nullopt;
    }
    if (failure.empty()) return 0;
    WriteError(failure);
    return 1;
}

}  // namespace veltrano
