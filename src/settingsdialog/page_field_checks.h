#pragma once
// The number fields each settings page refuses when it applies, decided without a window.
#include <optional>
#include <string>
#include <string_view>

#include "settingsdialog/input_checks.h"

namespace veltrano {

// The first refused field in check order; the check also covers disabled fields.
std::optional<FieldRefusal> CheckReplaceFields(std::wstring_view interval, std::wstring_view count);
std::optional<FieldRefusal> CheckHistoryFields(std::wstring_view maxCount);

// The clipboard window page's number fields as typed.
struct TextWindowFields {
    std::wstring x, y, width, height, opacity, borderWidth;
};

// The first field that fails, with the message that refuses it.
std::optional<FieldRefusal> CheckTextWindowFields(const TextWindowFields& fields);

}  // namespace veltrano
