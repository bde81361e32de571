#pragma once
// Whether the tray page's four click assignments may be stored, decided without a window.
#include <array>

namespace veltrano {

enum class TrayAssignmentCheck { Store, AskAboutDuplicates, RefuseWithoutMainMenu };
// The four selected action values (a value outside 1..4 is no action).
TrayAssignmentCheck CheckTrayAssignments(const std::array<int, 4>& actions);

}  // namespace veltrano
