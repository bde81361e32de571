#pragma once
// A full clipboard history for tests and benchmarks: entries sealed the way the program seals them.
#include <string>

namespace veltrano::driver {

// The name of the old entry `index`: an earlier year's copy, older for a lower index.
std::wstring OldHistoryEntryName(int index);

// Seals "old entry 0" (oldest) to "old entry <count - 1>" into `folder` (created when missing),
// on several threads, as sealing is slow. Throws on failure.
void SealOldHistoryEntries(const std::wstring& folder, int count);

}  // namespace veltrano::driver
