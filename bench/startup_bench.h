#pragma once
// Start-up with a full history: how soon the real Veltrano.exe guards the clipboard and how soon
// its history is read, and how long the history menu takes to open with its 3,000 items.
#include <string>

namespace veltrano::bench {

// Needs a display (scripts/with-display). Prints one line per history size, one for the menu, one
// for the history's memory and one for the CPU time the program uses while idle.
// `silentShareProgram`, when given, is the program built with an organisation's share whose every
// read never returns (veltrano_silent_share.exe).
int RunStartupBench(const std::wstring& programPath, const std::wstring& silentShareProgram);

// The idle baseline: a hidden window that only waits for messages, until it is closed.
int RunIdleWindow();

}  // namespace veltrano::bench
