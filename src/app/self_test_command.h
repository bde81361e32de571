#pragma once
// "/SelfTest [REPORT]": checks every platform part on this PC and writes the report, without
// starting the guard or counting as its second instance.
#include <windows.h>

#include <optional>
#include <string>

namespace veltrano {

// The exit code (the number of failed checks) when the command line is the command, else
// nullopt. REPORT defaults to "<user>_selftest.txt" in the program folder; a relative one is
// taken from the current folder.
std::optional<int> RunSelfTestCommand(HINSTANCE instance, const std::wstring& commandLine);

}  // namespace veltrano
