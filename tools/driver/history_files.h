#pragma once
// A full clipboard history for tests and benchmarks: entries sealed the way the program seals them.
#include <cstddef>
#include <string>

namespace veltrano::driver {

// The name of the old entry `index`: an earlier year's copy, older for a lower index.
std::wstring OldHistoryEntryName(int index);

// Seals "old entry 0" (oldest) to "old entry <count - 1>" into `folder` (created when missing),
// on several threads, as sealing is slow. Throws on failure.
void SealOldHistoryEntries(const std::wstring& folder, int count);

struct HistoryFileCounts {
    size_t all = 0;
    size_t recorded = 0;  // written by the program: not one of the sealed old entries
};
// Nothing when the folder cannot be listed.
HistoryFileCounts CountHistoryFiles(const std::wstring& folder);

}  // namespace veltrano::driver
