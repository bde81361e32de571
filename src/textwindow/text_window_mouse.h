#pragma once
// The clipboard text window's mouse rules: dragging in movable mode, and clicks that run the
// tray actions (a plain left click runs none, so that a click to focus does nothing).
#include <windows.h>

#include <optional>

#include "settings/tray_clicks.h"

namespace veltrano {

// What the window does in answer to one mouse message.
struct TextWindowMouseResponse {
    bool stopSpeech = false;
    bool captureMouse = false;
    bool releaseMouse = false;
    std::optional<POINT> moveBy;       // move the window by this much, keeping its size
    std::optional<TrayButton> click;  // the tray click whose action runs
};

class TextWindowMouse {
public:
    // `cursor`: the cursor in screen pixels; `leftDown`, `rightDown`: the buttons held now.
    TextWindowMouseResponse OnMessage(UINT message, bool movable, POINT cursor, bool leftDown, bool rightDown);
    // Once a click's action has returned: after a chord the other button's release is swallowed.
    void AfterAction(TrayButton click) { clicks_.AfterAction(click); }
    void OnCaptureLost() noexcept { dragging_ = false; }

private:
    TextWindowMouseResponse OnLeftButtonUp(bool leftDown, bool rightDown);

    TrayClickDecoder clicks_;
    bool dragging_ = false;
    bool moved_ = false;
    POINT lastCursor_{};
};

}  // namespace veltrano
