#include "textwindow/text_image.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/dc_owners.h"
#include "base/text_cut.h"

namespace veltrano {
namespace {

constexpr int kWrapWidth = 2000;
constexpr int kFontPoints = 18;

UniqueHfont CreateTextFont(HDC screen) {
    const int height = -::MulDiv(kFontPoints, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    return UniqueHfont(::CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                     FIXED_PITCH | FF_MODERN, L"MS Gothic"));
}

// 1 for an image within the pixel budget, otherwise the factor that brings it within.
double Reduction(SIZE size) {
    const double pixels = static_cast<double>(size.cx) * size.cy;
    return pixels <= kMaxTextImagePixels ? 1.0 : std::sqrt(pixels / kMaxTextImagePixels);
}

}  // namespace

std::wstring_view ShownText(std::wstring_view text) {
    if (text.size() <= kMaxShownTextUnits) return text;
    const std::wstring_view head = WholeUnitsHead(text, kMaxShownTextUnits);
    const size_t lineEnd = head.find_last_of(L'\n');
    if (lineEnd != std::wstring_view::npos && lineEnd >= kMaxShownTextUnits / 2) return head.substr(0, lineEnd + 1);
    return head;
}

std::optional<TextImage> RenderTextImage(std::wstring_view whole) {
    const std::wstring text(ShownText(whole));
    if (text.empty()) return std::nullopt;
    const WindowDc screen(nullptr);
    if (!screen) return std::nullopt;
    const UniqueHfont font = CreateTextFont(screen.Get());
    if (!font) return std::nullopt;

    // Word-break is the only option: tabs stay unexpanded and "&" keeps its mnemonic meaning.
    const int length = static_cast<int>(text.size());
    RECT measured{0, 0, kWrapWidth, kWrapWidth};
    {
        const SelectedObject selected(screen.Get(), font.Get());
        ::DrawTextW(screen.Get(), text.c_str(), length, &measured, DT_CALCRECT | DT_WORDBREAK);
    }
    const SIZE size{measured.right - measured.left, measured.bottom - measured.top};
    if (size.cx <= 0 || size.cy <= 0) return std::nullopt;
    const double reduction = Reduction(size);
    std::optional<MemoryCanvas> pixels = MemoryCanvas::Create(
        screen.Get(), {std::max(1L, std::lround(std::ceil(size.cx / reduction))),
                 std::max(1L, std::lround(std::ceil(size.cy / reduction)))});
    if (!pixels) return std::nullopt;

    const HDC dc = pixels->Dc();
    if (reduction > 1.0) {
        ::SetGraphicsMode(dc, GM_ADVANCED);
        const XFORM scale{static_cast<FLOAT>(1.0 / reduction), 0, 0, static_cast<FLOAT>(1.0 / reduction), 0, 0};
        ::SetWorldTransform(dc, &scale);
    }
    const SelectedObject selected(dc, font.Get());
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    // The same width as the measurement, so the lines break at the same places; a word wider
    // than that (a URL, a key) runs on past it, as it did when measured.
    RECT target{0, 0, kWrapWidth, size.cy};
    ::DrawTextW(dc, text.c_str(), length, &target, DT_WORDBREAK | DT_NOCLIP);
    return TextImage{size, std::move(*pixels)};
}

}  // namespace veltrano
