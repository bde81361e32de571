#include "settingsdialog/page_rules_replace_history_log.h"

#include <algorithm>
#include <initializer_list>

#include "settingsdialog/input_checks.h"

namespace veltrano {
namespace {

std::vector<ControlEnabling> Each(std::initializer_list<int> ids, bool enabled) {
    std::vector<ControlEnabling> states;
    for (const int id : ids) states.push_back({id, enabled});
    return states;
}

}  // namespace

std::vector<ControlEnabling> ReplacePageEnabling(bool useReplace, bool preventConsecutive) {
    using namespace replace_ids;
    std::vector<ControlEnabling> states = Each({kInitialAutoReplace, kEncryptFile, kConsecutiveGroup, kPreventConsecutive,
                                                kNotifyGroup, kNotifyManual, kNotifyAuto},
                                               useReplace);
    for (ControlEnabling field : ConsecutiveFieldsEnabling(preventConsecutive)) {
        field.enabled = field.enabled && useReplace;
        states.push_back(field);
    }
    return states;
}

std::vector<ControlEnabling> ConsecutiveFieldsEnabling(bool preventConsecutive) {
    using namespace replace_ids;
    return Each({kIntervalLabel, kIntervalEdit, kIntervalUpDown, kCountLabel, kCountEdit, kCountUpDown},
                !preventConsecutive);
}

std::vector<ControlEnabling> HistoryPageEnabling(bool useHistory) {
    using namespace history_ids;
    return Each({kReverseOrder, kMaxCountLabel, kMaxCountEdit, kMaxCountUpDown}, useHistory);
}

std::vector<ControlEnabling> LogPageEnabling(bool useLog) {
    using namespace log_ids;
    return Each({kTargetsGroup, kKeywordSearch, kManualReplace, kAutoReplace, kClipboardHistory,
                 kClipboardFavorites, kOther},
                useLog);
}

std::optional<FieldRefusal> CheckReplaceFields(std::wstring_view interval, std::wstring_view count) {
    const std::optional<long long> milliseconds = ParseUnsigned(interval);
    if (!milliseconds || *milliseconds < kIntervalMin || *milliseconds > kIntervalMax)
        return FieldRefusal{replace_ids::kIntervalEdit,
                            RangeMessage(L"間隔は ", kIntervalMin, kIntervalMax, L" ミリ秒の範囲で入力して下さい。")};
    // The count is a signed 32-bit value: anything beyond it does not parse.
    const std::optional<long long> times = ParseSigned(count);
    if (!times || *times < kCountMin || *times > kCountMax)
        return FieldRefusal{replace_ids::kCountEdit,
                            RangeMessage(L"回数は ", kCountMin, kCountMax, L" 回の範囲で入力して下さい。")};
    return std::nullopt;
}

std::optional<FieldRefusal> CheckHistoryFields(std::wstring_view maxCount) {
    const std::optional<long long> count = ParseUnsigned(maxCount);
    if (!count || *count < kHistoryMaxCountMin || *count > kHistoryMaxCountMax)
        return FieldRefusal{history_ids::kMaxCountEdit,
                            RangeMessage(L"履歴件数は ", kHistoryMaxCountMin, kHistoryMaxCountMax,
                                         L" の範囲で入力して下さい。")};
    return std::nullopt;
}

std::optional<int> IntervalToStore(std::wstring_view text) {
    const std::optional<long long> value = ParseUnsigned(text);
    if (!value) return std::nullopt;
    return static_cast<int>(std::clamp<long long>(*value, kIntervalMin, kIntervalMax));
}

std::optional<int> CountToStore(std::wstring_view text) {
    const std::optional<long long> value = ParseSigned(text);
    if (!value) return std::nullopt;
    // Zero or less would forbid every replacement.
    return static_cast<int>(std::clamp<long long>(*value, kCountMin, kCountMax));
}

std::optional<int> HistoryMaxCountToStore(std::wstring_view text) {
    const std::optional<long long> value = ParseUnsigned(text);
    if (!value) return std::nullopt;
    return static_cast<int>(std::clamp<long long>(*value, kHistoryMaxCountMin, kHistoryMaxCountMax));
}

}  // namespace veltrano
