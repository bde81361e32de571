#pragma once
// The notification-area icons as Wine's X11 driver shows them, seen from another process.
//
// Wine 8 on an X server without a system tray (Xvfb) puts each icon into a child window of class
// "__winex11_tray_icon" inside the top-level "Wine System Tray" window ("__winex11_standalone_tray")
// of the desktop process (explorer.exe); with an X system tray the icon windows are docked top-level
// windows of the same class. Each icon window owns a tooltip control holding the icon's tip.
// Shell_NotifyIconW itself talks to the hidden "Shell_TrayWnd" window of that process.
#include <windows.h>

#include <string>
#include <vector>

namespace veltrano::driver {

struct TrayIconInfo {
    HWND iconWindow = nullptr;  // Wine's window that draws the icon
    HWND owner = nullptr;       // the window given to Shell_NotifyIconW; null when it could not be read
    std::wstring tip;
};

// Throws when Wine's windows are there but cannot be read.
std::vector<TrayIconInfo> ListTrayIcons();

}  // namespace veltrano::driver
