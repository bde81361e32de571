#pragma once
// The program's notification-area icon: uID 1 of the main window, callback message 0x8001.
#include <windows.h>

#include <string>

namespace veltrano {

inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

class TrayIcon {
public:
    // Also used again after the shell's taskbar restarts.
    bool Add(HWND window, HINSTANCE instance, const std::wstring& tip);
    // False before the icon was added or when the shell refuses.
    bool SetTip(const std::wstring& tip);
    void Remove();

private:
    HWND window_ = nullptr;
};

}  // namespace veltrano
