#include "settingsdialog/page_rules_replace_history_log.h"

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

// --- enabling rules ---

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

// --- checks on apply ---

const std::wstring kIntervalMessage = L"間隔は 10～60000 ミリ秒の範囲で入力して下さい。";
const std::wstring kCountMessage = L"回数は 1～2147483647 回の範囲で入力して下さい。";
const std::wstring kHistoryMessage = L"履歴件数は 1～9999 の範囲で入力して下さい。";

TEST(CheckReplaceFieldsTest, AcceptsTheBoundsOfBothFields) {
    EXPECT_EQ(CheckReplaceFields(L"10", L"1"), std::nullopt);
    EXPECT_EQ(CheckReplaceFields(L"60000", L"2147483647"), std::nullopt);
}

TEST(CheckReplaceFieldsTest, RefusesAnIntervalOutsideItsRangeOrNotANumber) {
    const FieldRefusal expected{4101, kIntervalMessage};
    for (const wchar_t* interval : {L"9", L"60001", L"", L"0", L"-10", L"abc", L"+100"})
        EXPECT_EQ(CheckReplaceFields(interval, L"10"), expected) << "interval: " << testing::PrintToString(std::wstring(interval));
}

TEST(CheckReplaceFieldsTest, RefusesACountBelowOneOrBeyondThirtyTwoBits) {
    const FieldRefusal expected{4102, kCountMessage};
    for (const wchar_t* count : {L"0", L"-0", L"-3", L"", L"2147483648", L"x"})
        EXPECT_EQ(CheckReplaceFields(L"1000", count), expected) << "count: " << testing::PrintToString(std::wstring(count));
}

TEST(CheckReplaceFieldsTest, TheIntervalIsReportedFirstWhenBothAreWrong) {
    EXPECT_EQ(CheckReplaceFields(L"9", L"0"), (FieldRefusal{4101, kIntervalMessage}));
}

TEST(CheckHistoryFieldsTest, AcceptsOneToNineThousandNineHundredNinetyNine) {
    EXPECT_EQ(CheckHistoryFields(L"1"), std::nullopt);
    EXPECT_EQ(CheckHistoryFields(L"9999"), std::nullopt);
    for (const wchar_t* count : {L"10000", L"0", L"", L"-1", L"5a"})
        EXPECT_EQ(CheckHistoryFields(count), (FieldRefusal{5004, kHistoryMessage}))
            << "count: " << testing::PrintToString(std::wstring(count));
}

}  // namespace
}  // namespace veltrano
