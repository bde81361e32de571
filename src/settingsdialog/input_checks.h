#pragma once
// Reading the number fields of the settings pages and the messages that refuse them.
#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

// Digits only, at least one; none when the text is anything else or too large.
std::optional<long long> ParseUnsigned(std::wstring_view text);
// An optional minus sign, then digits.
std::optional<long long> ParseSigned(std::wstring_view text);

// A number field that refuses its text, and the message that says why.
struct FieldRefusal {
    int fieldId = 0;
    std::wstring message;
    bool operator==(const FieldRefusal&) const = default;
};

// prefix + low + "～" + high + suffix, decimal without separators.
std::wstring RangeMessage(std::wstring_view prefix, long long low, long long high, std::wstring_view suffix);

}  // namespace veltrano
