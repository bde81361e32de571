#include "notify/tray_icon.h"

#include <shellapi.h>

#include "base/text_cut.h"
#include "resource.h"

namespace veltrano {
namespace {

constexpr UINT kTrayIconId = 1;

NOTIFYICONDATAW BaseRecord(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}

}  // namespace

bool TrayIcon::Add(HWND window, HINSTANCE instance, const std::wstring& tip) {
    if (!window) return false;
    NOTIFYICONDATAW data = BaseRecord(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    // The small icon's own frame for this scale, rather than the large one shrunk by the shell.
    data.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_VELTRANO), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                 LR_DEFAULTCOLOR | LR_SHARED));
    if (!data.hIcon) return false;
    CopyToField(data.szTip, tip);
    // A busy shell may report a timeout for an icon it did add: then the icon can be modified.
    if (!::Shell_NotifyIconW(NIM_ADD, &data) && !::Shell_NotifyIconW(NIM_MODIFY, &data)) return false;
    window_ = window;
    return true;
}

bool TrayIcon::SetTip(const std::wstring& tip) {
    if (!window_) return false;
    NOTIFYICONDATAW data = BaseRecord(window_);
    data.uFlags = NIF_TIP;
    CopyToField(data.szTip, tip);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void TrayIcon::Remove() {
    if (!window_) return;
    NOTIFYICONDATAW data = BaseRecord(window_);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    window_ = nullptr;
}

NOTIFYICONDATAW TrayIcon::BalloonRecord(HWND window, std::wstring_view body, std::wstring_view title,
                                        DWORD infoFlags, UINT timeoutMs) {
    NOTIFYICONDATAW data = BaseRecord(window);
    data.uFlags = NIF_INFO;
    CopyToField(data.szInfo, body);
    CopyToField(data.szInfoTitle, title);
    data.uTimeout = timeoutMs;
    data.dwInfoFlags = infoFlags;
    return data;
}

}  // namespace veltrano
