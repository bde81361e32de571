#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include "base/text_encoding.h"
#include "base/unique_any.h"

namespace veltrano {

std::vector<std::wstring> CommandArguments(const std::wstring& commandLine) {
    int count = 0;
    const UniqueHlocal arguments(::CommandLineToArgvW(commandLine.c_str(), &count));
    if (!arguments) return {};
    const auto* const all = static_cast<wchar_t**>(arguments.Get());
    return count > 1 ? std::vector<std::wstring>(all + 1, all + count) : std::vector<std::wstring>();
}

bool IsSwitch(const std::wstring& argument, const wchar_t* name) {
    return ::CompareStringOrdinal(argument.c_str(), -1, (L"/" + std::wstring(name)).c_str(), -1, TRUE) == CSTR_EQUAL;
}

void WriteToStandardError(const std::wstring& text) {
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

}  // namespace veltrano
