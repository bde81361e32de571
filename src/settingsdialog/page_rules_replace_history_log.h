#pragma once
// What the Replace, History and Log pages decide without a window: which controls a switch
// enables and whether the number fields are accepted.
#include <optional>
#include <string_view>
#include <vector>

#include "settingsdialog/input_checks.h"

namespace veltrano {

struct ControlEnabling {
    int id;
    bool enabled;
    bool operator==(const ControlEnabling&) const = default;
};

// Every control below the replacement switch follows it; the interval and count controls are
// further off while consecutive replacements are forbidden.
std::vector<ControlEnabling> ReplacePageEnabling(bool useReplace, bool preventConsecutive);
// Only the interval and count controls, for a click on the forbid switch.
std::vector<ControlEnabling> ConsecutiveFieldsEnabling(bool preventConsecutive);
std::vector<ControlEnabling> HistoryPageEnabling(bool useHistory);
// The category boxes keep their ticks while disabled: they are still stored.
std::vector<ControlEnabling> LogPageEnabling(bool useLog);

// The first refused field in check order; the check also covers disabled fields.
std::optional<FieldRefusal> CheckReplaceFields(std::wstring_view interval, std::wstring_view count);
std::optional<FieldRefusal> CheckHistoryFields(std::wstring_view maxCount);

}  // namespace veltrano
