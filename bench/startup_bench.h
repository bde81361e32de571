#pragma once
// Start-up with a full history: how soon the real Veltrano.exe guards the clipboard and how soon
// its history is read, and how long the history menu takes to open with its 3,000 items.
#include <string>

namespace veltrano::bench {

// Needs a display (scripts/with-display). Prints one line per history size and one for the menu.
int RunStartupBench(const std::wstring& programPath);

}  // namespace veltrano::bench
