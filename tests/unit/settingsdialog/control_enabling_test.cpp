#include "settingsdialog/control_enabling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace veltrano {
namespace {

using Ids = std::set<int>;

Ids AllOf(const std::vector<ControlEnabling>& states) {
    Ids ids;
    for (const ControlEnabling& state : states) ids.insert(state.id);
    return ids;
}

Ids EnabledOf(const std::vector<ControlEnabling>& states) {
    Ids ids;
    for (const ControlEnabling& state : states)
        if (state.enabled) ids.insert(state.id);
    return ids;
}

const Ids kReplaceDependents{4002, 4003, 4401, 4004, 4301, 4101, 4201, 4302, 4102, 4202, 4402, 4005, 4006};
const Ids kConsecutiveFields{4101, 4201, 4102, 4202, 4301, 4302};

TEST(ReplacePageEnablingTest, SwitchedOffDisablesEveryOtherControlIncludingBothFrames) {
    for (const bool prevent : {false, true}) {
        const std::vector<ControlEnabling> states = ReplacePageEnabling(false, prevent);
        EXPECT_EQ(AllOf(states), kReplaceDependents);
        EXPECT_TRUE(EnabledOf(states).empty()) << "prevent: " << prevent;
        EXPECT_EQ(states.size(), kReplaceDependents.size()) << "each control once";
    }
}

TEST(ReplacePageEnablingTest, SwitchedOnEnablesAllButTheIntervalAndCountWhileConsecutiveIsForbidden) {
    EXPECT_EQ(EnabledOf(ReplacePageEnabling(true, false)), kReplaceDependents);

    Ids expected;
    std::ranges::set_difference(kReplaceDependents, kConsecutiveFields, std::inserter(expected, expected.end()));
    EXPECT_EQ(EnabledOf(ReplacePageEnabling(true, true)), expected);
}

TEST(ReplacePageEnablingTest, TheForbidSwitchAloneTogglesOnlyTheIntervalAndCountControls) {
    EXPECT_EQ(AllOf(ConsecutiveFieldsEnabling(true)), kConsecutiveFields);
    EXPECT_TRUE(EnabledOf(ConsecutiveFieldsEnabling(true)).empty());
    EXPECT_EQ(EnabledOf(ConsecutiveFieldsEnabling(false)), kConsecutiveFields);
}

TEST(HistoryAndLogPageEnablingTest, TheSwitchEnablesEveryDependentControlButNotItself) {
    const Ids history{5002, 5003, 5004, 5005};
    EXPECT_EQ(EnabledOf(HistoryPageEnabling(true)), history);
    EXPECT_EQ(AllOf(HistoryPageEnabling(false)), history);
    EXPECT_TRUE(EnabledOf(HistoryPageEnabling(false)).empty());

    const Ids log{6001, 6003, 6004, 6005, 6006, 6007, 6008, 6009};
    EXPECT_EQ(EnabledOf(LogPageEnabling(true)), log);
    EXPECT_EQ(AllOf(LogPageEnabling(false)), log);
    EXPECT_TRUE(EnabledOf(LogPageEnabling(false)).empty());
}

TEST(TextWindowEnabling, FollowsTheDisplaySwitchAndKeepsTouchableForTheFixedWindow) {
    EXPECT_EQ(kTextWindowDependentControls.size(), 28u) << "every control but the switch";
    for (const int id : kTextWindowDependentControls) {
        EXPECT_FALSE(TextWindowControlEnabled(id, false, false)) << id;
        EXPECT_FALSE(TextWindowControlEnabled(id, false, true)) << id;
        EXPECT_TRUE(TextWindowControlEnabled(id, true, false)) << id;
        EXPECT_EQ(TextWindowControlEnabled(id, true, true), id != IDC_TEXT_WINDOW_TOUCHABLE) << id;
    }
    EXPECT_TRUE(TextWindowControlEnabled(IDC_TEXT_WINDOW_SHOW, false, false));
    EXPECT_TRUE(TextWindowControlEnabled(IDC_TEXT_WINDOW_SHOW, true, true));
}

}  // namespace
}  // namespace veltrano
