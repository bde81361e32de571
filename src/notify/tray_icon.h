#pragma once
// The program's notification-area icon: uID 1 of the main window, callback message WM_APP + 1.
// The one place that knows the icon's record: adding it (again after the shell restarts), its
// tooltip, the balloons shown from it, and its removal, at the latest when the owner goes.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>

namespace veltrano {

inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
// The message the shell broadcasts when its taskbar is created again: the icon must be re-added.
inline constexpr wchar_t kTaskbarCreatedMessageName[] = L"TaskbarCreated";

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Also used again after the shell's taskbar restarts.
    bool Add(HWND window, HINSTANCE instance, const std::wstring& tip);
    // False before the icon was added or when the shell refuses.
    bool SetTip(const std::wstring& tip);
    bool Added() const noexcept { return window_ != nullptr; }
    void Remove();

    // The record that shows a balloon from the icon of `window`: the body and title cut to
    // their fields, `infoFlags` an NIIF_* look.
    static NOTIFYICONDATAW BalloonRecord(HWND window, std::wstring_view body, std::wstring_view title,
                                         DWORD infoFlags, UINT timeoutMs);

private:
    HWND window_ = nullptr;
};

}  // namespace veltrano
