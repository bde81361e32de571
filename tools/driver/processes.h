#pragma once
// Starting programs and collecting their exit codes.
#include <windows.h>

#include <optional>
#include <string>

#include "base/unique_any.h"
#include "driver/waiting.h"

namespace veltrano::driver {

struct StartedProgram {
    UniqueHandle process;
    DWORD processId = 0;
};

// Starts `program` with `arguments` in `workingFolder` (empty: the caller's); throws on failure.
StartedProgram StartProgram(const std::wstring& program, const std::wstring& arguments,
                            const std::wstring& workingFolder);

// Opens a running process by id for waiting; throws when it cannot be opened.
UniqueHandle OpenProcessForWaiting(DWORD processId);

// The exit code, or nullopt when the process still runs after the timeout.
std::optional<DWORD> WaitForExit(HANDLE process, DWORD timeoutMs = kDefaultTimeoutMs);

bool IsRunning(HANDLE process);

// Ends a process that would not stop by itself, and waits until it is gone.
void KillProcess(HANDLE process);

}  // namespace veltrano::driver
