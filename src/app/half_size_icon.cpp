#include "app/half_size_icon.h"

#include <cstring>

namespace veltrano {
namespace {

std::uint32_t Channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

}  // namespace

std::vector<std::uint32_t> HalveBgra(const std::vector<std::uint32_t>& pixels, int side) {
    const int half = side / 2;
    std::vector<std::uint32_t> halved(static_cast<size_t>(half) * half);
    for (int row = 0; row < half; ++row) {
        for (int col = 0; col < half; ++col) {
            const size_t topLeft = static_cast<size_t>(2 * row) * side + 2 * col;
            const std::uint32_t block[] = {pixels[topLeft], pixels[topLeft + 1], pixels[topLeft + side],
                                           pixels[topLeft + side + 1]};
            std::uint32_t alpha = 0;
            for (const std::uint32_t pixel : block) alpha += Channel(pixel, 24);
            std::uint32_t result = ((alpha + 2) / 4) << 24;
            for (const int shift : {0, 8, 16}) {
                std::uint32_t weighted = 0;
                for (const std::uint32_t pixel : block) weighted += Channel(pixel, shift) * Channel(pixel, 24);
                if (alpha != 0) result |= ((weighted + alpha / 2) / alpha) << shift;
            }
            halved[static_cast<size_t>(row) * half + col] = result;
        }
    }
    return halved;
}

namespace {

BITMAPINFO TopDownBgra(int side) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return format;
}

}  // namespace

std::vector<std::uint32_t> IconBgra(HICON icon, int& side) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return {};
    const UniqueHbitmap colour(info.hbmColor);
    const UniqueHbitmap mask(info.hbmMask);
    BITMAP shape{};
    if (!colour || !::GetObjectW(colour.Get(), sizeof shape, &shape) || shape.bmBitsPixel != 32 ||
        shape.bmWidth != shape.bmHeight) {
        return {};
    }
    side = shape.bmWidth;
    BITMAPINFO format = TopDownBgra(side);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(side) * side);
    const UniqueHdc dc(::CreateCompatibleDC(nullptr));
    if (!dc || ::GetDIBits(dc.Get(), colour.Get(), 0, side, pixels.data(), &format, DIB_RGB_COLORS) != side) return {};
    return pixels;
}

UniqueHicon BgraIcon(const std::vector<std::uint32_t>& pixels, int side) {
    const BITMAPINFO format = TopDownBgra(side);
    void* bits = nullptr;
    const UniqueHbitmap colour(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits) return {};
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
    const std::vector<BYTE> clearMask(static_cast<size_t>((side + 15) / 16) * 2 * side, 0);
    const UniqueHbitmap mask(::CreateBitmap(side, side, 1, 1, clearMask.data()));
    if (!mask) return {};
    ICONINFO made{TRUE, 0, 0, mask.Get(), colour.Get()};
    return UniqueHicon(::CreateIconIndirect(&made));
}

UniqueHicon HalfSizeIcon(HICON icon) {
    int side = 0;
    const std::vector<std::uint32_t> pixels = IconBgra(icon, side);
    if (pixels.empty() || side % 2 != 0) return {};
    return BgraIcon(HalveBgra(pixels, side), side / 2);
}

}  // namespace veltrano
