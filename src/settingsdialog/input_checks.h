#pragma once
// Reading the number fields of the settings pages and the messages that refuse them.
#include <optional>
#include <string>
#include <string_view>

#include "settings/setting_keys.h"

namespace veltrano {

inline constexpr int kNumberFieldLength = 6;  // characters the user may type into a number field

// A number field that refuses its text, and the message that says why.
struct FieldRefusal {
    int fieldId = 0;
    std::wstring message;
    bool operator==(const FieldRefusal&) const = default;
};

// prefix + low + "～" + high + suffix, decimal without separators.
std::wstring RangeMessage(std::wstring_view prefix, long long low, long long high, std::wstring_view suffix);

// The number typed into a field when it lies in the setting's range: digits, with a minus sign
// only where the range reaches below zero. What a field stores after its check passed.
std::optional<int> NumberInRange(std::wstring_view text, const IntSetting& setting);

// Refuses the field unless its text is a number in the setting's range, with the range message.
std::optional<FieldRefusal> CheckNumberField(std::wstring_view text, int fieldId, const IntSetting& setting,
                                             std::wstring_view prefix, std::wstring_view suffix);

}  // namespace veltrano
