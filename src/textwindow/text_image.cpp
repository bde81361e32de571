#include "textwindow/text_image.h"

#include <climits>

#include "base/scope_exit.h"

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

}  // namespace

std::optional<MemoryCanvas> RenderTextImage(const std::wstring& text) {
    if (text.empty() || text.size() > INT_MAX) return std::nullopt;
    const HDC screen = ::GetDC(nullptr);
    if (!screen) return std::nullopt;
    const ScopeExit releaseScreen([screen] { ::ReleaseDC(nullptr, screen); });
    const UniqueHfont font = CreateTextFont(screen);
    if (!font) return std::nullopt;

    // Word-break is the only option: tabs stay unexpanded and "&" keeps its mnemonic meaning.
    const int length = static_cast<int>(text.size());
    RECT measured{0, 0, kWrapWidth, kWrapWidth};
    {
        const HGDIOBJ previous = ::SelectObject(screen, font.get());
        ::DrawTextW(screen, text.c_str(), length, &measured, DT_CALCRECT | DT_WORDBREAK);
        ::SelectObject(screen, previous);
    }
    std::optional<MemoryCanvas> image =
        MemoryCanvas::Create(screen, {measured.right - measured.left, measured.bottom - measured.top});
    if (!image) return std::nullopt;

    const HDC dc = image->Dc();
    const HGDIOBJ previous = ::SelectObject(dc, font.get());
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    // The same width as the measurement, so the lines break at the same places.
    RECT target{0, 0, kWrapWidth, image->Size().cy};
    ::DrawTextW(dc, text.c_str(), length, &target, DT_WORDBREAK);
    ::SelectObject(dc, previous);
    return image;
}

}  // namespace veltrano
