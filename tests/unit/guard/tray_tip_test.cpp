#include "guard/tray_tip.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(BuildTrayTip, EmptyAndControlOnlyTexts) {
    EXPECT_EQ(BuildTrayTip(L""), L"Veltrano");
    EXPECT_EQ(BuildTrayTip(std::wstring(L"\t\x01\x7F", 3)), L" - Veltrano");
}

TEST(BuildTrayTip, LineBreaksBecomeOneSpaceAndControlsAreDropped) {
    EXPECT_EQ(BuildTrayTip(L"a\r\nb\rc\nd\te"), L"a b c de - Veltrano");
    EXPECT_EQ(BuildTrayTip(L"\n\n機密"), L"  機密 - Veltrano");
}

TEST(BuildTrayTip, LongTextIsCutToFitTheTooltip) {
    const std::wstring tip = BuildTrayTip(std::wstring(300, L'x'));
    EXPECT_EQ(tip.size(), 127u);
    EXPECT_EQ(tip, std::wstring(113, L'x') + L"... - Veltrano");

    EXPECT_EQ(BuildTrayTip(std::wstring(113, L'y')), std::wstring(113, L'y') + L" - Veltrano");
    EXPECT_EQ(BuildTrayTip(std::wstring(114, L'y')), std::wstring(113, L'y') + L"... - Veltrano");
}

TEST(BuildTrayTip, NeverEndsHalfwayThroughASurrogatePair) {
    const std::wstring text = std::wstring(112, L'a') + L"\xD83D\xDE00" + L"tail";
    EXPECT_EQ(BuildTrayTip(text), std::wstring(112, L'a') + L"... - Veltrano");
    const std::wstring pairInside = std::wstring(111, L'a') + L"\xD83D\xDE00" + L"tail";
    EXPECT_EQ(BuildTrayTip(pairInside), std::wstring(111, L'a') + L"\xD83D\xDE00" + L"... - Veltrano");
}

}  // namespace
}  // namespace veltrano
