#include "textwindow/text_window_mouse.h"

#include <cstdlib>

namespace veltrano {
namespace {

// A drag of up to this many pixels each way still counts as a click.
constexpr int kClickSlop = 2;

}  // namespace

TextWindowMouseResponse TextWindowMouse::OnMessage(UINT message, bool movable, POINT cursor, bool leftDown,
                                                   bool rightDown) {
    TextWindowMouseResponse response;
    switch (message) {
        case WM_LBUTTONDOWN:
            clicks_.OnMouseMessage(WM_LBUTTONDOWN, leftDown, rightDown);
            if (movable) {
                dragging_ = true;
                moved_ = false;
                lastCursor_ = cursor;
                response.captureMouse = true;
            }
            break;
        case WM_LBUTTONDBLCLK:
            clicks_.OnMouseMessage(WM_LBUTTONDOWN, leftDown, rightDown);
            response.click = TrayButton::Left;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK: clicks_.OnMouseMessage(WM_RBUTTONDOWN, leftDown, rightDown); break;
        case WM_MOUSEMOVE: {
            if (!dragging_) break;
            const POINT delta{cursor.x - lastCursor_.x, cursor.y - lastCursor_.y};
            if (std::abs(delta.x) > kClickSlop || std::abs(delta.y) > kClickSlop) moved_ = true;
            if (delta.x != 0 || delta.y != 0) {
                response.moveBy = delta;
                lastCursor_ = cursor;
            }
            break;
        }
        case WM_LBUTTONUP: return OnLeftButtonUp(leftDown, rightDown);
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const TrayClickDecision decision = clicks_.OnMouseMessage(message, leftDown, rightDown);
            response.stopSpeech = decision.stopSpeech;
            response.click = decision.button;
            break;
        }
    }
    return response;
}

TextWindowMouseResponse TextWindowMouse::OnLeftButtonUp(bool leftDown, bool rightDown) {
    TextWindowMouseResponse response;
    response.stopSpeech = true;
    if (dragging_) {
        dragging_ = false;
        response.releaseMouse = true;
        if (moved_) return response;
    }
    // Only the chord runs an action on a left release; a plain left click is not one.
    const TrayClickDecision decision = clicks_.OnMouseMessage(WM_LBUTTONUP, leftDown, rightDown);
    if (decision.button == TrayButton::LeftRight) response.click = decision.button;
    return response;
}

}  // namespace veltrano
