#pragma once
// The rules of the clipboard-window and tray pages that need no window: the field checks, which
// controls are enabled, and whether a tray assignment may be stored.
#include <array>
#include <optional>
#include <string>

#include "resource.h"
#include "settingsdialog/input_checks.h"

namespace veltrano {

// The number fields' texts as typed.
struct TextWindowFields {
    std::wstring x, y, width, height, opacity, borderWidth;
};

// The first field that fails, with the message that refuses it.
std::optional<FieldRefusal> CheckTextWindowFields(const TextWindowFields& fields);

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

enum class TrayAssignmentCheck { Store, AskAboutDuplicates, RefuseWithoutMainMenu };
// The four selected action values (a value outside 1..4 is no action).
TrayAssignmentCheck CheckTrayAssignments(const std::array<int, 4>& actions);

}  // namespace veltrano
