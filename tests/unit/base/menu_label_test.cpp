#include "base/menu_label.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(BuildMenuLabel, FoldsBlanksAndDropsControls) {
    EXPECT_EQ(BuildMenuLabel(L"a\r\n\r\n b", true), L"a b");
    EXPECT_EQ(BuildMenuLabel(L"a\tb", true), L"a    b");
    EXPECT_EQ(BuildMenuLabel(L"a\tb", false), L"a\tb");
    EXPECT_EQ(BuildMenuLabel(L"a\t b", true), L"a    b") << "a blank after an expanded tab folds into it";
    EXPECT_EQ(BuildMenuLabel(std::wstring(L"x\x01\x1F\x7Fy", 5), true), L"xy");
    EXPECT_EQ(BuildMenuLabel(L"  lead", true), L" lead");
    EXPECT_EQ(BuildMenuLabel(L"", true), L"");
}

TEST(BuildMenuLabel, CutsLongTextsThenDoublesAmpersands) {
    EXPECT_EQ(BuildMenuLabel(std::wstring(200, L'x'), true), std::wstring(125, L'x') + L"...");
    EXPECT_EQ(BuildMenuLabel(std::wstring(128, L'y'), true), std::wstring(128, L'y'));
    // A pair whose high half would be the last kept unit goes as a whole.
    EXPECT_EQ(BuildMenuLabel(std::wstring(124, L'z') + L"\U0001F600" + std::wstring(9, L'z'), true),
              std::wstring(124, L'z') + L"...");
    EXPECT_EQ(BuildMenuLabel(L"R&D", true), L"R&&D");
    // The cut counts single ampersands; doubling comes after and may pass 128.
    const std::wstring label = BuildMenuLabel(std::wstring(200, L'&'), true);
    EXPECT_EQ(label, std::wstring(250, L'&') + L"...");
}

TEST(AcceleratorSuffix, DigitsThenLettersThenNone) {
    EXPECT_EQ(AcceleratorSuffix(0), L"\t(&1)");
    EXPECT_EQ(AcceleratorSuffix(8), L"\t(&9)");
    EXPECT_EQ(AcceleratorSuffix(9), L"\t(&0)");
    EXPECT_EQ(AcceleratorSuffix(10), L"\t(&A)");
    EXPECT_EQ(AcceleratorSuffix(35), L"\t(&Z)");
    EXPECT_EQ(AcceleratorSuffix(36), L"");
}

}  // namespace
}  // namespace veltrano
