#include "settingsdialog/page_rules_replace_history_log.h"

#include <initializer_list>

#include "resource.h"

namespace veltrano {
namespace {

std::vector<ControlEnabling> Each(std::initializer_list<int> ids, bool enabled) {
    std::vector<ControlEnabling> states;
    for (const int id : ids) states.push_back({id, enabled});
    return states;
}

}  // namespace

std::vector<ControlEnabling> ReplacePageEnabling(bool useReplace, bool preventConsecutive) {
    std::vector<ControlEnabling> states =
        Each({IDC_REPLACE_INITIAL_AUTO, IDC_REPLACE_ENCRYPT, IDC_REPLACE_CONSECUTIVE_GROUP,
              IDC_REPLACE_PREVENT_CONSECUTIVE, IDC_REPLACE_NOTIFY_GROUP, IDC_REPLACE_NOTIFY_MANUAL,
              IDC_REPLACE_NOTIFY_AUTO},
             useReplace);
    for (ControlEnabling field : ConsecutiveFieldsEnabling(preventConsecutive)) {
        field.enabled = field.enabled && useReplace;
        states.push_back(field);
    }
    return states;
}

std::vector<ControlEnabling> ConsecutiveFieldsEnabling(bool preventConsecutive) {
    return Each({IDC_REPLACE_INTERVAL_LABEL, IDC_REPLACE_INTERVAL, IDC_REPLACE_INTERVAL_UPDOWN, IDC_REPLACE_COUNT_LABEL,
                 IDC_REPLACE_COUNT, IDC_REPLACE_COUNT_UPDOWN},
                !preventConsecutive);
}

std::vector<ControlEnabling> HistoryPageEnabling(bool useHistory) {
    return Each({IDC_HISTORY_REVERSE_ORDER, IDC_HISTORY_MAX_COUNT_LABEL, IDC_HISTORY_MAX_COUNT,
                 IDC_HISTORY_MAX_COUNT_UPDOWN},
                useHistory);
}

std::vector<ControlEnabling> LogPageEnabling(bool useLog) {
    return Each({IDC_LOG_TARGETS_GROUP, IDC_LOG_KEYWORD_SEARCH, IDC_LOG_MANUAL_REPLACE, IDC_LOG_AUTO_REPLACE,
                 IDC_LOG_CLIPBOARD_HISTORY, IDC_LOG_CLIPBOARD_FAVORITES, IDC_LOG_OTHER, IDC_LOG_MASK_SECRETS},
                useLog);
}

std::optional<FieldRefusal> CheckReplaceFields(std::wstring_view interval, std::wstring_view count) {
    if (auto refused = CheckNumberField(interval, IDC_REPLACE_INTERVAL, setting::kReplaceContinuousIntervalMs,
                                        L"間隔は ", L" ミリ秒の範囲で入力して下さい。"))
        return refused;
    return CheckNumberField(count, IDC_REPLACE_COUNT, setting::kReplaceContinuousCount, L"回数は ",
                            L" 回の範囲で入力して下さい。");
}

std::optional<FieldRefusal> CheckHistoryFields(std::wstring_view maxCount) {
    return CheckNumberField(maxCount, IDC_HISTORY_MAX_COUNT, setting::kClipboardHistoryMaxCount, L"履歴件数は ",
                            L" の範囲で入力して下さい。");
}

}  // namespace veltrano
