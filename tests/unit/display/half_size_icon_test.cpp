// Halving an icon through the real GDI: the program's largest frame becomes the About box's image.
#include "app/half_size_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "resource.h"

namespace veltrano {
namespace {

constexpr std::uint32_t kRed = 0x00FF0000;  // fully transparent
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kGreen = 0xFF00FF00;

TEST(HalfSizeIcon, AveragesEachBlockByAlphaAndHalvesTheProgramsLargestFrame) {
    const UniqueHicon icon = BgraIcon({kRed, kBlue, kGreen, kGreen,   //
                                     kBlue, kBlue, kGreen, kGreen,  //
                                     kGreen, kGreen, kBlue, kBlue,  //
                                     kGreen, kGreen, kBlue, kBlue},
                                    4);
    const UniqueHicon halved = HalfSizeIcon(icon.Get());
    ASSERT_TRUE(halved);
    int side = 0;
    EXPECT_EQ(IconBgra(halved.Get(), side), (std::vector<std::uint32_t>{0xBF0000FF, kGreen, kGreen, kBlue}))
        << "the transparent red adds no colour, only a quarter less alpha";
    EXPECT_EQ(side, 2);

    const UniqueHicon largest(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELTRANO), IMAGE_ICON, 256, 256, LR_DEFAULTCOLOR)));
    const UniqueHicon aboutImage = HalfSizeIcon(largest.Get());
    ASSERT_TRUE(aboutImage);
    const std::vector<std::uint32_t> pixels = IconBgra(aboutImage.Get(), side);
    EXPECT_EQ(side, 128);
    std::vector<bool> alphas(256);
    for (const std::uint32_t pixel : pixels) alphas[pixel >> 24] = true;
    // Each frame is sampled 4 × 4 per pixel (17 alphas): only halving the largest gives more.
    EXPECT_GT(std::count(alphas.begin(), alphas.end(), true), 17) << "not drawn from the largest frame";
}

}  // namespace
}  // namespace veltrano
