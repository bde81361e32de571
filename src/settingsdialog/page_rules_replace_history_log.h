#pragma once
// What the Replace, History and Log pages decide without a window: which controls a switch
// enables, whether a number field is accepted, and the value stored from it.
#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settingsdialog/input_checks.h"

namespace veltrano {

// Control ids of the page templates (resources/pages/*.rc).
namespace replace_ids {
inline constexpr int kUseReplace = 4001;
inline constexpr int kInitialAutoReplace = 4002;
inline constexpr int kEncryptFile = 4003;
inline constexpr int kPreventConsecutive = 4004;
inline constexpr int kNotifyManual = 4005;
inline constexpr int kNotifyAuto = 4006;
inline constexpr int kIntervalEdit = 4101;
inline constexpr int kCountEdit = 4102;
inline constexpr int kIntervalUpDown = 4201;
inline constexpr int kCountUpDown = 4202;
inline constexpr int kIntervalLabel = 4301;
inline constexpr int kCountLabel = 4302;
inline constexpr int kConsecutiveGroup = 4401;
inline constexpr int kNotifyGroup = 4402;
}  // namespace replace_ids

namespace history_ids {
inline constexpr int kUseHistory = 5001;
inline constexpr int kReverseOrder = 5002;
inline constexpr int kMaxCountLabel = 5003;
inline constexpr int kMaxCountEdit = 5004;
inline constexpr int kMaxCountUpDown = 5005;
}  // namespace history_ids

namespace log_ids {
inline constexpr int kTargetsGroup = 6001;
inline constexpr int kUseLog = 6002;
inline constexpr int kKeywordSearch = 6003;
inline constexpr int kManualReplace = 6004;
inline constexpr int kAutoReplace = 6005;
inline constexpr int kClipboardHistory = 6006;
inline constexpr int kClipboardFavorites = 6007;
inline constexpr int kOther = 6008;
}  // namespace log_ids

inline constexpr int kNumberFieldLength = 6;  // characters the user may type into a number field
inline constexpr int kIntervalMin = 10;
inline constexpr int kIntervalMax = 60000;
inline constexpr int kCountMin = 1;
inline constexpr int kCountMax = INT_MAX;
inline constexpr int kHistoryMaxCountMin = 1;
inline constexpr int kHistoryMaxCountMax = 9999;

struct ControlEnabling {
    int id;
    bool enabled;
    bool operator==(const ControlEnabling&) const = default;
};

// A field that keeps the sheet open: the error text and the field that gets the focus.
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

// The values written after a passed check; none when the field does not parse.
std::optional<int> IntervalToStore(std::wstring_view text);
std::optional<int> CountToStore(std::wstring_view text);
std::optional<int> HistoryMaxCountToStore(std::wstring_view text);

}  // namespace veltrano
