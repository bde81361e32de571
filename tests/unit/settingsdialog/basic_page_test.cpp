#include "settingsdialog/basic_page.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(BasicPageRules, WheelMovesTheVolumeByFiveWithinItsRange) {
    EXPECT_EQ(VolumeAfterWheel(98, WHEEL_DELTA), 100);
    EXPECT_EQ(VolumeAfterWheel(3, -WHEEL_DELTA), 0);
    EXPECT_EQ(VolumeAfterWheel(60, 1), 65) << "any turn up is one step";
    EXPECT_EQ(VolumeAfterWheel(60, 0), 55) << "a zero delta counts as down";
}

TEST(BasicPageRules, OnlyTheModesWithAVoiceUseVoiceAndVolume) {
    EXPECT_FALSE(ModeUsesVoice(0));
    EXPECT_FALSE(ModeUsesVoice(1));
    EXPECT_TRUE(ModeUsesVoice(2));
    EXPECT_TRUE(ModeUsesVoice(3));
    EXPECT_TRUE(ModeUsesVoice(4));
}

}  // namespace
}  // namespace veltrano
