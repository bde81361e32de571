#pragma once
// End to end: from setting the clipboard to the warning box of the real Veltrano.exe.
#include <string>

namespace veltrano::bench {

// Needs a display (scripts/with-display). Prints one line per text size.
int RunLatency(const std::wstring& programPath);

// A giant copy, then a small keyword copy a second later: when the small one is answered, and the
// program's peak memory. Needs a display.
int RunGiantCopyLatency(const std::wstring& programPath);

}  // namespace veltrano::bench
