#include "settings/tray_clicks.h"

namespace veltrano {

TrayClickDecision TrayClickDecoder::OnMouseMessage(UINT mouseMessage, bool leftDown, bool rightDown) {
    TrayClickDecision decision;
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: chordReleased_ = false; break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            decision.stopSpeech = true;
            const bool otherDown = mouseMessage == WM_LBUTTONUP ? rightDown : leftDown;
            if (chordReleased_) {
                chordReleased_ = false;
            } else if (otherDown) {
                decision.button = TrayButton::LeftRight;
            } else {
                decision.button = mouseMessage == WM_LBUTTONUP ? TrayButton::Left : TrayButton::Right;
            }
            break;
        }
        case WM_MBUTTONUP:
            decision.stopSpeech = true;
            decision.button = TrayButton::Middle;
            break;
    }
    return decision;
}

void TrayClickDecoder::AfterAction(TrayButton button) {
    if (button == TrayButton::LeftRight) chordReleased_ = true;
}

}  // namespace veltrano
