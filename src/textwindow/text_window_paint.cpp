#include "textwindow/text_window_paint.h"

#include <optional>

#include "base/unique_any.h"

namespace veltrano {
namespace {

// A band of this width along all four edges of `area`.
void FillBand(HDC dc, const RECT& area, int width, COLORREF colour) {
    if (width <= 0) return;
    const UniqueHbrush brush(::CreateSolidBrush(colour));
    if (!brush) return;
    const RECT edges[] = {
        {area.left, area.top, area.right, area.top + width},
        {area.left, area.bottom - width, area.right, area.bottom},
        {area.left, area.top, area.left + width, area.bottom},
        {area.right - width, area.top, area.right, area.bottom},
    };
    for (const RECT& edge : edges) ::FillRect(dc, &edge, brush.Get());
}

}  // namespace

void PaintTextWindow(HDC target, SIZE client, const TextImage* image, const FrameBands& bands) {
    if (client.cx <= 0 || client.cy <= 0) return;
    const std::optional<MemoryCanvas> buffer = MemoryCanvas::Create(target, client);
    if (!buffer) return;
    const HDC dc = buffer->Dc();
    if (image) {
        if (const std::optional<RECT> place = PlaceImage(client, bands.inset, image->size)) {
            ::SetStretchBltMode(dc, HALFTONE);
            ::SetBrushOrgEx(dc, 0, 0, nullptr);
            ::StretchBlt(dc, place->left, place->top, place->right - place->left, place->bottom - place->top,
                         image->pixels.Dc(), 0, 0, image->pixels.Size().cx, image->pixels.Size().cy, SRCCOPY);
        }
        const RECT whole{0, 0, client.cx, client.cy};
        FillBand(dc, whole, bands.outer, RGB(0, 255, 0));
        const RECT inside{bands.outer, bands.outer, client.cx - bands.outer, client.cy - bands.outer};
        FillBand(dc, inside, bands.inner, RGB(255, 0, 0));
    }
    ::BitBlt(target, 0, 0, client.cx, client.cy, dc, 0, 0, SRCCOPY);
}

}  // namespace veltrano
