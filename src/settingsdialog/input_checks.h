#pragma once
// Reading the number fields of the settings pages and the messages that refuse them.
#include <string>
#include <string_view>

#include "base/decimal_text.h"

namespace veltrano {

// A number field that refuses its text, and the message that says why.
struct FieldRefusal {
    int fieldId = 0;
    std::wstring message;
    bool operator==(const FieldRefusal&) const = default;
};

// prefix + low + "～" + high + suffix, decimal without separators.
std::wstring RangeMessage(std::wstring_view prefix, long long low, long long high, std::wstring_view suffix);

}  // namespace veltrano
