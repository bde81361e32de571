#pragma once
// "/RegisterEventSource" and "/UnregisterEventSource": an administrator names the program's
// message table for the event log (or takes it back) once per machine, without starting the guard.
#include <optional>
#include <string>

namespace veltrano {

// The exit code when the command line is one of the two commands, else nullopt. A failure's
// text goes to the standard error stream (or the console the program was started from).
std::optional<int> RunEventSourceCommand(const std::wstring& commandLine);

}  // namespace veltrano
