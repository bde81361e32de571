#pragma once
// End to end: from setting the clipboard to the warning box of the real Veltrano.exe.
#include <string>

namespace veltrano::bench {

// Needs a display (scripts/with-display). Prints one line per text size.
int RunLatency(const std::wstring& programPath);

}  // namespace veltrano::bench
