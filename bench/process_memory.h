#pragma once
// A process's memory counters. Wine fills no private-bytes counter (PrivateUsage stays 0); its
// PeakWorkingSetSize is the process's peak resident memory, which cannot be reset.
#include <windows.h>
#include <psapi.h>

namespace veltrano::bench {

inline PROCESS_MEMORY_COUNTERS MemoryCounters(HANDLE process = ::GetCurrentProcess()) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters;
}

inline double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1 << 20); }

}  // namespace veltrano::bench
