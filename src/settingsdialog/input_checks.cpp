#include "settingsdialog/input_checks.h"

#include "base/decimal_text.h"

namespace veltrano {

std::wstring RangeMessage(std::wstring_view prefix, long long low, long long high, std::wstring_view suffix) {
    return std::wstring(prefix) + std::to_wstring(low) + L"～" + std::to_wstring(high) + std::wstring(suffix);
}

std::optional<int> NumberInRange(std::wstring_view text, const IntSetting& setting) {
    const std::optional<long long> value = setting.low < 0 ? ParseSigned(text) : ParseUnsigned(text);
    if (!value || *value < setting.low || *value > setting.high) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<FieldRefusal> CheckNumberField(std::wstring_view text, int fieldId, const IntSetting& setting,
                                             std::wstring_view prefix, std::wstring_view suffix) {
    if (NumberInRange(text, setting)) return std::nullopt;
    return FieldRefusal{fieldId, RangeMessage(prefix, setting.low, setting.high, suffix)};
}

}  // namespace veltrano
