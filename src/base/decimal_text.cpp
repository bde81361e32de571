#include "base/decimal_text.h"

#include <algorithm>
#include <climits>

namespace veltrano {

std::optional<long long> ParseUnsigned(std::wstring_view text) {
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        if (value > (LLONG_MAX - (c - L'0')) / 10) return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return value;
}

std::optional<long long> ParseSigned(std::wstring_view text) {
    const bool negative = text.starts_with(L'-');
    const std::optional<long long> magnitude = ParseUnsigned(negative ? text.substr(1) : text);
    if (!magnitude) return std::nullopt;
    return negative ? -*magnitude : *magnitude;
}

std::optional<long long> ParseSignedSaturating(std::wstring_view text) {
    if (const std::optional<long long> value = ParseSigned(text)) return value;
    const bool negative = text.starts_with(L'-');
    const std::wstring_view digits = negative ? text.substr(1) : text;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        return std::nullopt;
    }
    return negative ? LLONG_MIN : LLONG_MAX;
}

}  // namespace veltrano
