#include "settingsdialog/tray_assignment_check.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(TrayAssignmentRule, RequiresTheMainMenuAndQuestionsOnlyRealDuplicates) {
    struct Case {
        std::array<int, 4> actions;
        TrayAssignmentCheck expected;
    };
    const Case cases[] = {
        {{2, 1, 3, 4}, TrayAssignmentCheck::Store},
        {{0, 0, 0, 0}, TrayAssignmentCheck::RefuseWithoutMainMenu},
        {{2, 3, 4, 2}, TrayAssignmentCheck::RefuseWithoutMainMenu},  // refused before any question
        {{0, 1, 0, 2}, TrayAssignmentCheck::Store},                  // repeated "none" is no duplicate
        {{0, 0, 0, 1}, TrayAssignmentCheck::Store},
        {{1, 1, 0, 0}, TrayAssignmentCheck::AskAboutDuplicates},
        {{1, 3, 2, 3}, TrayAssignmentCheck::AskAboutDuplicates},
        {{4, 1, 0, 4}, TrayAssignmentCheck::AskAboutDuplicates},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckTrayAssignments(c.actions), c.expected)
            << c.actions[0] << c.actions[1] << c.actions[2] << c.actions[3];
    }
}

}  // namespace
}  // namespace veltrano
