#include "driver/processes.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "base/text_encoding.h"

namespace veltrano::driver {

StartedProgram StartProgram(const std::wstring& program, const std::wstring& arguments,
                            const std::wstring& workingFolder) {
    // CreateProcessW may write into the command line, so it gets its own terminated buffer.
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // No standard handles: under Wine a child would otherwise hold our output pipe open, and
    // whoever reads it (ctest, a shell's $(...)) would wait until the child ends.
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION info{};
    // Wine answers ERROR_INTERNAL_ERROR when the new process died before its start was reported
    // (its loader could not lay out memory): the program never ran, so starting it again is safe.
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        if (::CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
            break;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == kAttempts) {
            throw std::runtime_error("cannot start " + WideToUtf8(program) + ", error " + std::to_string(error));
        }
        std::fprintf(stderr, "note: %s never started (error %lu), starting it again\n",
                     WideToUtf8(program).c_str(), error);
    }
    UniqueHandle thread(info.hThread);
    return StartedProgram{UniqueHandle(info.hProcess), info.dwProcessId};
}

UniqueHandle OpenProcessForWaiting(DWORD processId) {
    UniqueHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) throw std::runtime_error("cannot open process " + std::to_string(processId));
    return process;
}

std::optional<DWORD> WaitForExit(HANDLE process, DWORD timeoutMs) {
    const DWORD waited = ::WaitForSingleObject(process, timeoutMs);
    if (waited == WAIT_TIMEOUT) return std::nullopt;
    if (waited != WAIT_OBJECT_0) throw std::runtime_error("waiting for the process failed");
    DWORD code = 0;
    if (!::GetExitCodeProcess(process, &code)) throw std::runtime_error("GetExitCodeProcess failed");
    return code;
}

bool IsRunning(HANDLE process) { return ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

void KillProcess(HANDLE process) {
    if (!IsRunning(process)) return;
    ::TerminateProcess(process, 0xDEAD);
    ::WaitForSingleObject(process, kDefaultTimeoutMs);
}

}  // namespace veltrano::driver
