#pragma once
// Decimal numbers typed by the user or stored as text: plain ASCII digits, no spaces, no "+".
#include <optional>
#include <string_view>

namespace veltrano {

// Digits only, at least one; none when the text is anything else or too large.
std::optional<long long> ParseUnsigned(std::wstring_view text);
// An optional minus sign, then digits.
std::optional<long long> ParseSigned(std::wstring_view text);
// ParseSigned, but a number too large for long long gives its nearest limit.
std::optional<long long> ParseSignedSaturating(std::wstring_view text);

}  // namespace veltrano
