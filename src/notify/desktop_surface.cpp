#include "notify/desktop_surface.h"

namespace veltrano {

void DesktopSurface::ShowBalloon(const NOTIFYICONDATAW& record) {
    // Shell_NotifyIconW takes a non-const pointer.
    NOTIFYICONDATAW copy = record;
    ::Shell_NotifyIconW(NIM_MODIFY, &copy);
}

void DesktopSurface::ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT icon) {
    ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | icon);
}

}  // namespace veltrano
