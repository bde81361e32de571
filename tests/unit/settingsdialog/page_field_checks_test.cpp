#include "settingsdialog/page_field_checks.h"

#include <gtest/gtest.h>

#include "resource.h"

namespace veltrano {
namespace {

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

}  // namespace
}  // namespace veltrano
