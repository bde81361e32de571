// exit_code_keeper CODE-FILE PROGRAM [ARGUMENTS...]: runs PROGRAM as a child on this process's
// standard handles, writes the child's exit code to CODE-FILE (decimal) and exits with it.
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: exit_code_keeper CODE-FILE PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    std::wstring commandLine = Quoted(argv[2]);
    for (int i = 3; i < argc; ++i) commandLine += L" " + Quoted(argv[i]);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = InheritableStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = InheritableStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = InheritableStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                          &child)) {
        std::fprintf(stderr, "exit_code_keeper: cannot start the program, error %lu\n", ::GetLastError());
        return 125;
    }
    ::CloseHandle(child.hThread);
    DWORD code = 0;
    if (::WaitForSingleObject(child.hProcess, INFINITE) != WAIT_OBJECT_0 || !::GetExitCodeProcess(child.hProcess, &code)) {
        std::fprintf(stderr, "exit_code_keeper: lost the program, error %lu\n", ::GetLastError());
        return 125;
    }
    ::CloseHandle(child.hProcess);

    if (FILE* file = _wfopen(argv[1], L"wb")) {
        std::fprintf(file, "%lu\n", code);
        std::fclose(file);
    }
    return static_cast<int>(code);
}
