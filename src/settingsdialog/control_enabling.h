#pragma once
// Which controls of the settings pages follow their switches, decided without a window.
#include <array>
#include <vector>

#include "resource.h"

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

// The controls that follow the display switch: all of the page but the switch itself.
inline constexpr std::array<int, 28> kTextWindowDependentControls = {
    IDC_TEXT_WINDOW_RESIZABLE,          IDC_TEXT_WINDOW_TOUCHABLE,
    IDC_TEXT_WINDOW_PLACE_GROUP,        IDC_TEXT_WINDOW_LOOK_GROUP,
    IDC_TEXT_WINDOW_POS_X_LABEL,        IDC_TEXT_WINDOW_POS_Y_LABEL,
    IDC_TEXT_WINDOW_WIDTH_LABEL,        IDC_TEXT_WINDOW_HEIGHT_LABEL,
    IDC_TEXT_WINDOW_POS_X_UNIT,         IDC_TEXT_WINDOW_POS_Y_UNIT,
    IDC_TEXT_WINDOW_WIDTH_UNIT,         IDC_TEXT_WINDOW_HEIGHT_UNIT,
    IDC_TEXT_WINDOW_OPACITY_LABEL,      IDC_TEXT_WINDOW_OPACITY_RANGE,
    IDC_TEXT_WINDOW_BORDER_WIDTH_LABEL, IDC_TEXT_WINDOW_BORDER_WIDTH_UNIT,
    IDC_TEXT_WINDOW_POS_X,              IDC_TEXT_WINDOW_POS_Y,
    IDC_TEXT_WINDOW_WIDTH,              IDC_TEXT_WINDOW_HEIGHT,
    IDC_TEXT_WINDOW_OPACITY,            IDC_TEXT_WINDOW_BORDER_WIDTH,
    IDC_TEXT_WINDOW_POS_X_UPDOWN,       IDC_TEXT_WINDOW_POS_Y_UPDOWN,
    IDC_TEXT_WINDOW_WIDTH_UPDOWN,       IDC_TEXT_WINDOW_HEIGHT_UPDOWN,
    IDC_TEXT_WINDOW_OPACITY_UPDOWN,     IDC_TEXT_WINDOW_BORDER_WIDTH_UPDOWN};

// Whether a control of the page is enabled. The movable window always takes the mouse, so the
// touchable switch only matters while the window is not movable.
bool TextWindowControlEnabled(int controlId, bool show, bool resizable);

}  // namespace veltrano
