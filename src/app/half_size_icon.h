#pragma once
// An icon shrunk to half its size by averaging, so that a large image can be drawn from the
// largest frame: the system's frame chooser may stretch a smaller frame up instead (Wine does).
#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/unique_any.h"

namespace veltrano {

// A square image of `side` (even) pixels in BGRA with straight alpha, halved: each pixel is the
// average of a 2×2 block, its colour weighted by alpha so that transparent pixels add none.
std::vector<std::uint32_t> HalveBgra(const std::vector<std::uint32_t>& pixels, int side);

// A 32-bit square icon's pixels, top row first, and its side; empty when it is not one.
std::vector<std::uint32_t> IconBgra(HICON icon, int& side);
// The icon of those pixels, its alpha alone saying what shows.
UniqueHicon BgraIcon(const std::vector<std::uint32_t>& pixels, int side);

// The 32-bit square icon at half its size; none when it is not one.
UniqueHicon HalfSizeIcon(HICON icon);

}  // namespace veltrano
