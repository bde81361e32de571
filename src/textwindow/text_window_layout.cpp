#include "textwindow/text_window_layout.h"

#include <algorithm>

#include "settings/settings.h"

namespace veltrano {
namespace {

constexpr int kMaxFrameThickness = 100;
constexpr int kOpacityStep = 15;

}  // namespace

FrameBands FrameBandsFor(int borderWidth, bool movable) {
    if (!movable) return {};
    const int inset = std::max(borderWidth, 0);
    const int thickness = std::min(inset, kMaxFrameThickness);
    return {inset, thickness / 2, (thickness + 1) / 2};
}

std::optional<RECT> PlaceImage(SIZE client, int inset, SIZE image) {
    const int availableWidth = client.cx - 2 * inset;
    const int availableHeight = client.cy - 2 * inset;
    if (availableWidth <= 0 || availableHeight <= 0 || image.cx <= 0 || image.cy <= 0) return std::nullopt;
    const double scale = std::min(static_cast<double>(availableHeight) / image.cy,
                                  static_cast<double>(availableWidth) / image.cx);
    return RECT{inset, inset, inset + static_cast<int>(image.cx * scale), inset + static_cast<int>(image.cy * scale)};
}

LRESULT HitTestRegion(POINT clientPoint, SIZE client, SIZE grip) {
    const bool left = clientPoint.x < grip.cx;
    const bool right = clientPoint.x >= client.cx - grip.cx;
    const bool top = clientPoint.y < grip.cy;
    const bool bottom = clientPoint.y >= client.cy - grip.cy;
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
    return HTCLIENT;
}

POINT CenteredOnCursor(POINT cursor, const RECT& window) {
    return {cursor.x - (window.right - window.left) / 2, cursor.y - (window.bottom - window.top) / 2};
}

std::optional<int> OpacityWheel::Turn(int wheelDelta, int opacity) {
    accumulated_ += wheelDelta;
    const int steps = accumulated_ / WHEEL_DELTA;  // toward zero; the remainder keeps its sign
    accumulated_ %= WHEEL_DELTA;
    if (steps == 0) return std::nullopt;
    return std::clamp(opacity + kOpacityStep * steps, setting::kClipboardTextWindowOpacity.low, setting::kClipboardTextWindowOpacity.high);
}

}  // namespace veltrano
