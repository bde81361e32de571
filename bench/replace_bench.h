#pragma once
// Replacement over the customer lists: a date-rewriting definition through ApplyReplacement,
// against std::regex_replace and ripgrep's --passthru -r (timed by scripts/bench).
#include <string>

namespace veltrano::bench {

// The definition line and its form for ripgrep, as scripts/bench runs it.
inline constexpr wchar_t kDateDefinition[] = L"\\b(\\d{4})(\\d{2})(\\d{2})\\b\t$1/$2/$3";

// Prints one markdown table. `rgResults` holds "<text> <median ms>" lines.
int RunReplaceBench(const std::wstring& dataFolder, const std::wstring& rgResults);

}  // namespace veltrano::bench
