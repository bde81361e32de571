// The window-free rules of the clipboard-window and tray pages.
#include "settingsdialog/text_window_tray_checks.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrano {
namespace {

TextWindowFields Valid() { return {L"100", L"100", L"400", L"200", L"200", L"6"}; }

std::optional<int> RefusedField(const TextWindowFields& fields) {
    const std::optional<FieldRefusal> refusal = CheckTextWindowFields(fields);
    return refusal ? std::optional<int>(refusal->fieldId) : std::nullopt;
}

TEST(TextWindowFieldCheck, AcceptsPlainValuesAndNegativePositions) {
    EXPECT_EQ(CheckTextWindowFields(Valid()), std::nullopt);
    TextWindowFields fields = Valid();
    fields.x = L"-300";
    fields.y = L"-2147483648";
    EXPECT_EQ(CheckTextWindowFields(fields), std::nullopt);
}

TEST(TextWindowFieldCheck, RefusesPositionsThatAreNotSignedNumbers) {
    for (const wchar_t* text : {L"", L"abc", L"12a", L"-", L"+5", L" 5", L"2147483648"}) {
        TextWindowFields fields = Valid();
        fields.x = text;
        EXPECT_EQ(CheckTextWindowFields(fields), (FieldRefusal{IDC_TEXT_WINDOW_POS_X, L"X座標を正しく入力して下さい。"})) << text;
        fields = Valid();
        fields.y = text;
        EXPECT_EQ(CheckTextWindowFields(fields), (FieldRefusal{IDC_TEXT_WINDOW_POS_Y, L"Y座標を正しく入力して下さい。"})) << text;
    }
}

TEST(TextWindowFieldCheck, HoldsEachNumberFieldToItsRange) {
    struct Case {
        std::wstring TextWindowFields::*field;
        int id;
        const wchar_t* below;
        const wchar_t* low;
        const wchar_t* high;
        const wchar_t* above;
        const wchar_t* message;
    };
    const Case cases[] = {
        {&TextWindowFields::width, IDC_TEXT_WINDOW_WIDTH, L"31", L"32", L"10000", L"10001", L"幅は 32～10000 の範囲で入力して下さい。"},
        {&TextWindowFields::height, IDC_TEXT_WINDOW_HEIGHT, L"31", L"32", L"10000", L"10001",
         L"高さは 32～10000 の範囲で入力して下さい。"},
        {&TextWindowFields::opacity, IDC_TEXT_WINDOW_OPACITY, L"7", L"8", L"255", L"256", L"透明度は 8～255 の範囲で入力して下さい。"},
        {&TextWindowFields::borderWidth, IDC_TEXT_WINDOW_BORDER_WIDTH, L"-1", L"0", L"999", L"1000",
         L"枠の太さは 0～999 の範囲で入力して下さい。"},
    };
    for (const Case& c : cases) {
        for (const wchar_t* refused : {c.below, c.above, L"", L"1x", L"-5"}) {
            TextWindowFields fields = Valid();
            fields.*c.field = refused;
            EXPECT_EQ(CheckTextWindowFields(fields), (FieldRefusal{c.id, c.message})) << c.id << L" " << refused;
        }
        for (const wchar_t* accepted : {c.low, c.high}) {
            TextWindowFields fields = Valid();
            fields.*c.field = accepted;
            EXPECT_EQ(CheckTextWindowFields(fields), std::nullopt) << c.id << L" " << accepted;
        }
    }
}

TEST(TextWindowFieldCheck, ReportsTheFirstFailingFieldInPageOrder) {
    TextWindowFields fields{L"x", L"y", L"1", L"1", L"1", L"abc"};
    std::vector<int> reported;
    std::wstring TextWindowFields::* const order[] = {&TextWindowFields::x,      &TextWindowFields::y,
                                                      &TextWindowFields::width,  &TextWindowFields::height,
                                                      &TextWindowFields::opacity, &TextWindowFields::borderWidth};
    for (const auto field : order) {
        const std::optional<int> id = RefusedField(fields);
        ASSERT_TRUE(id);
        reported.push_back(*id);
        // Repairing the reported field reveals the next one.
        fields.*field = Valid().*field;
    }
    EXPECT_EQ(reported, (std::vector<int>{IDC_TEXT_WINDOW_POS_X, IDC_TEXT_WINDOW_POS_Y, IDC_TEXT_WINDOW_WIDTH, IDC_TEXT_WINDOW_HEIGHT, IDC_TEXT_WINDOW_OPACITY, IDC_TEXT_WINDOW_BORDER_WIDTH}));
    EXPECT_EQ(RefusedField(fields), std::nullopt);
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
