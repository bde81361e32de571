#pragma once
// The semantics of record, unguarded, for differential tests: plain std::regex_search as
// std::regex_iterator searches on, and a readable form of generated texts.
#include <cstdio>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

#include "regex/match_span.h"

namespace veltrano::test {

inline std::optional<MatchSpan> PlainSearch(const std::wregex& re, const std::wstring& text, size_t from) {
    std::wsmatch match;
    const auto flags = from > 0 ? std::regex_constants::match_prev_avail : std::regex_constants::match_default;
    if (!std::regex_search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), match, re, flags)) {
        return std::nullopt;
    }
    return MatchSpan{static_cast<size_t>(match[0].first - text.begin()), static_cast<size_t>(match[0].length())};
}

// ASCII as it is, everything else as \uXXXX.
inline std::string Printable(std::wstring_view text) {
    std::string out;
    for (const wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escaped[12];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out;
}

}  // namespace veltrano::test
