#include "settingsdialog/control_enabling.h"

#include <initializer_list>

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

bool TextWindowControlEnabled(int controlId, bool show, bool resizable) {
    if (controlId == IDC_TEXT_WINDOW_SHOW) return true;
    if (controlId == IDC_TEXT_WINDOW_TOUCHABLE) return show && !resizable;
    return show;
}

}  // namespace veltrano
