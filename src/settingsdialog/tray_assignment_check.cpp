#include "settingsdialog/tray_assignment_check.h"

#include <algorithm>

#include "settings/settings.h"

namespace veltrano {

TrayAssignmentCheck CheckTrayAssignments(const std::array<int, 4>& actions) {
    const auto real = [](int action) { return action >= 1 && action <= 4; };
    if (std::ranges::count(actions, static_cast<int>(TrayAction::MainMenu)) == 0) {
        return TrayAssignmentCheck::RefuseWithoutMainMenu;
    }
    for (size_t i = 0; i < actions.size(); ++i) {
        for (size_t j = i + 1; j < actions.size(); ++j) {
            if (real(actions[i]) && actions[i] == actions[j]) return TrayAssignmentCheck::AskAboutDuplicates;
        }
    }
    return TrayAssignmentCheck::Store;
}

}  // namespace veltrano
