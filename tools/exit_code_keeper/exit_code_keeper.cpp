// exit_code_keeper CODE-FILE PROGRAM [ARGUMENTS...]: runs PROGRAM as a child on this process's
// standard handles, writes "started" and then the child's exit code (decimal) to CODE-FILE, one
// per line, and exits with that code. A program that Wine could not start at all is started
// again, and the output says so.
//
// The Wine server gives a process whose Windows side has ended about half a second to leave at
// the Unix level and then kills it with SIGKILL; on a loaded machine a test that passed is
// then reported as killed. The code the child ended with is what the server recorded, and the
// file keeps it even when this process is killed the same way after writing it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Quoted so that the child's command-line parser gives back each argument unchanged.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

HANDLE InheritableStdHandle(DWORD which) {
    const HANDLE handle = ::GetStdHandle(which);
    if (handle && handle != INVALID_HANDLE_VALUE) ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return handle;
}

void WriteCodeFile(const wchar_t* path, const std::string& content) {
    if (FILE* file = _wfopen(path, L"wb")) {
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: exit_code_keeper CODE-FILE PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    // The first line tells the caller that this program ran: Wine did start it.
    WriteCodeFile(argv[1], "started\n");
    std::wstring commandLine = Quoted(argv[2]);
    for (int i = 3; i < argc; ++i) commandLine += L" " + Quoted(argv[i]);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = InheritableStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = InheritableStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = InheritableStdHandle(STD_ERROR_HANDLE);
    // Under load Wine now and then fails to start a process at all (error 1359, nothing of the
    // program ran): only that is tried again, and said.
    constexpr int kAttempts = 5;
    PROCESS_INFORMATION child{};
    for (int attempt = 1;; ++attempt) {
        if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                             &child)) {
            break;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == kAttempts) {
            std::fprintf(stderr, "exit_code_keeper: cannot start the program, error %lu\n", error);
            return 125;
        }
        std::fprintf(stderr, "exit_code_keeper: the program did not start (error %lu); starting it again, attempt %d of %d\n",
                     error, attempt + 1, kAttempts);
        ::Sleep(200);
    }
    ::CloseHandle(child.hThread);
    DWORD code = 0;
    if (::WaitForSingleObject(child.hProcess, INFINITE) != WAIT_OBJECT_0 || !::GetExitCodeProcess(child.hProcess, &code)) {
        std::fprintf(stderr, "exit_code_keeper: lost the program, error %lu\n", ::GetLastError());
        return 125;
    }
    ::CloseHandle(child.hProcess);

    WriteCodeFile(argv[1], "started\n" + std::to_string(code) + "\n");
    return static_cast<int>(code);
}
