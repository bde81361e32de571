#pragma once
// The balloons of notification-area icons (Shell_NotifyIconW with NIF_INFO), seen from another
// process.
//
// Wine 8's X11 driver shows a balloon about 2 s after the request, as a top-level tooltip control
// (class "tooltips_class32", style TTS_BALLOON) of the desktop process (explorer.exe), owned by the
// icon window or by the "Wine System Tray" window that holds it. Its one tracking tool, registered
// for the icon window, holds the body. It stays at least 10 s (shorter timeouts are raised to
// that), then the control is destroyed. One balloon is shown at a time; a newer request for the
// same icon replaces it. Wine's tooltip does not answer TTM_GETTITLE, so title and icon flag are
// read from Wine's own record of the icon.
#include <windows.h>

#include <string>
#include <vector>

namespace veltrano::driver {

struct BalloonInfo {
    HWND balloonWindow = nullptr;  // Wine's tooltip control
    HWND iconWindow = nullptr;     // Wine's window that draws the icon
    HWND owner = nullptr;          // the window given to Shell_NotifyIconW; null when it could not be read
    std::wstring title;
    std::wstring text;
    DWORD iconFlag = 0;  // NIIF_INFO, NIIF_WARNING or NIIF_ERROR
};

// The balloons on screen now; throws when Wine's windows are there but cannot be read.
std::vector<BalloonInfo> ListBalloons();

}  // namespace veltrano::driver
