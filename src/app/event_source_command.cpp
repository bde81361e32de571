#include "app/event_source_command.h"

#include "app/command_line.h"
#include "log/event_log.h"
#include "storage/data_paths.h"

namespace veltrano {

std::optional<int> RunEventSourceCommand(const std::wstring& commandLine) {
    const std::vector<std::wstring> arguments = CommandArguments(commandLine);
    if (arguments.size() != 1) return std::nullopt;
    std::wstring failure;
    if (IsSwitch(arguments[0], L"RegisterEventSource")) {
        const std::wstring program = ProgramPath();
        failure = program.empty() ? L"GetModuleFileNameW failed" : RegisterEventSource(program);
    } else if (IsSwitch(arguments[0], L"UnregisterEventSource")) {
        failure = UnregisterEventSource();
    } else {
        return std::nullopt;
    }
    if (failure.empty()) return 0;
    WriteToStandardError(failure);
    return 1;
}

}  // namespace veltrano
