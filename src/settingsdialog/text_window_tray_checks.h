#pragma once
// The rules of the clipboard-window and tray pages that need no window: the field checks, which
// controls are enabled, and whether a tray assignment may be stored.
#include <array>
#include <optional>
#include <string>

#include "settingsdialog/input_checks.h"

namespace veltrano {

namespace text_window_page {
inline constexpr int kShow = 7100;
inline constexpr int kResizable = 7101;
inline constexpr int kTouchable = 7102;
inline constexpr int kPosX = 7200;
inline constexpr int kPosY = 7201;
inline constexpr int kWidth = 7202;
inline constexpr int kHeight = 7203;
inline constexpr int kOpacity = 7204;
inline constexpr int kBorderWidth = 7205;
inline constexpr int kUpDownOffset = 100;  // each field's up-down: field id + 100
}  // namespace text_window_page

// The number fields' texts as typed.
struct TextWindowFields {
    std::wstring x, y, width, height, opacity, borderWidth;
};

// The first field that fails, with the message that refuses it.
std::optional<FieldRefusal> CheckTextWindowFields(const TextWindowFields& fields);

// The values to store: each field that reads as a number, limited to its range.
struct TextWindowValues {
    std::optional<int> x, y, width, height, opacity, borderWidth;
};
TextWindowValues ReadTextWindowFields(const TextWindowFields& fields);

// The controls that follow the display switch: all of the page but the switch itself.
inline constexpr std::array<int, 28> kTextWindowDependentControls = {
    7101, 7102, 7400, 7401, 7500, 7501, 7502, 7503, 7504, 7505, 7506, 7507, 7508, 7509,
    7510, 7511, 7200, 7201, 7202, 7203, 7204, 7205, 7300, 7301, 7302, 7303, 7304, 7305};

// Whether a control of the page is enabled. The movable window always takes the mouse, so the
// touchable switch only matters while the window is not movable.
bool TextWindowControlEnabled(int controlId, bool show, bool resizable);

enum class TrayAssignmentCheck { Store, AskAboutDuplicates, RefuseWithoutMainMenu };
// The four selected action values (a value outside 1..4 is no action).
TrayAssignmentCheck CheckTrayAssignments(const std::array<int, 4>& actions);

}  // namespace veltrano
