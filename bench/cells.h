#pragma once
// The table: every cell measured in a child process of its own (this program again), so a
// crash or a runaway baseline only loses its cell and each cell's peak memory is its own.
#include <string>

namespace veltrano::bench {

// Child: "cell ours|baseline <set index> <text file> <result file>".
int RunCell(const std::wstring& mode, int setIndex, const std::wstring& textPath, const std::wstring& resultPath);

// Parent: measures every cell and prints the markdown table. `rgResults` holds the script's
// ripgrep timings (text, set index, median ms, exit status per line).
int RunTable(const std::wstring& dataFolder, const std::wstring& rgResults, double oursCapSeconds,
             double baselineCapSeconds, const std::wstring& onlySets);

}  // namespace veltrano::bench
