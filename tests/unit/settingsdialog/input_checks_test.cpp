#include "settingsdialog/input_checks.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(RangeMessageTest, JoinsTheBoundsWithAFullWidthTildeAndNoSeparators) {
    EXPECT_EQ(RangeMessage(L"回数は ", 1, 2147483647, L" 回の範囲で入力して下さい。"),
              L"回数は 1\uFF5E2147483647 回の範囲で入力して下さい。");
    EXPECT_EQ(RangeMessage(L"", -5, 0, L""), L"-5\uFF5E0");
}

}  // namespace
}  // namespace veltrano
