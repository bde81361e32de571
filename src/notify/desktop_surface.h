#pragma once
// Where notifications become visible: the tray balloon and the modal message box. The desktop
// implementation calls the shell and user32; tests put a recording fake in its place.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace veltrano {

class NotificationSurface {
public:
    virtual ~NotificationSurface() = default;
    // On any thread: the shell names the icon by its window, whose thread takes no part. A failure
    // is not reported (the balloon is simply not seen).
    virtual void ShowBalloon(const NOTIFYICONDATAW& record) = 0;
    // On a worker thread; returns when the user has closed the box. `icon` is an MB_ICON* flag.
    virtual void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT icon) = 0;
};

class DesktopSurface final : public NotificationSurface {
public:
    void ShowBalloon(const NOTIFYICONDATAW& record) override;
    void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT icon) override;
};

}  // namespace veltrano
