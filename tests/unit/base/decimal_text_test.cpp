#include "base/decimal_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace veltrano {
namespace {

TEST(ParseUnsignedTest, TakesDigitsUpToTheLargestValue) {
    EXPECT_EQ(ParseUnsigned(L"0"), 0);
    EXPECT_EQ(ParseUnsigned(L"007"), 7);
    EXPECT_EQ(ParseUnsigned(L"60000"), 60000);
    EXPECT_EQ(ParseUnsigned(L"9223372036854775807"), LLONG_MAX);
}

TEST(ParseUnsignedTest, RefusesEverythingButPlainDigits) {
    for (const wchar_t* text : {L"", L"-0", L"-1", L"+1", L" 1", L"1 ", L"1a", L"abc", L"1.5", L"1,000", L"１２"})
        EXPECT_FALSE(ParseUnsigned(text).has_value()) << "text: [" << testing::PrintToString(std::wstring(text)) << "]";
}

TEST(ParseUnsignedTest, RefusesOverflowInsteadOfWrapping) {
    EXPECT_FALSE(ParseUnsigned(L"9223372036854775808").has_value());
    EXPECT_FALSE(ParseUnsigned(L"99999999999999999999999").has_value());
}

TEST(ParseSignedTest, TakesAnOptionalMinusSign) {
    EXPECT_EQ(ParseSigned(L"42"), 42);
    EXPECT_EQ(ParseSigned(L"-42"), -42);
    EXPECT_EQ(ParseSigned(L"-0"), 0);
    EXPECT_EQ(ParseSigned(L"-9223372036854775807"), -LLONG_MAX);
}

TEST(ParseSignedTest, RefusesSignsWithoutDigitsPlusSignsAndOverflow) {
    for (const wchar_t* text : {L"", L"-", L"+5", L"--5", L"-+5", L"5-", L"- 5", L"x", L"-99999999999999999999"})
        EXPECT_FALSE(ParseSigned(text).has_value()) << "text: [" << testing::PrintToString(std::wstring(text)) << "]";
}

}  // namespace
}  // namespace veltrano
