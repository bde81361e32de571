#pragma once
// The line rules every list file (keywords, replacement definitions) shares.
#include <cstddef>
#include <functional>
#include <string_view>

namespace veltrano {

// Calls `visit` with each content line of decoded list-file text: lines split at LF and
// numbered from 1 over every line (so log entries point at the line an editor shows), CR and
// LF removed at both ends, empty lines and lines starting with '#' skipped.
void ForEachListLine(std::wstring_view text, const std::function<void(size_t lineNumber, std::wstring_view line)>& visit);

}  // namespace veltrano
