#pragma once
// Finding top-level windows of any process by class, caption and owning process, and posting to them.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "driver/waiting.h"

namespace veltrano::driver {

struct WindowInfo {
    HWND handle = nullptr;
    DWORD processId = 0;
    bool visible = false;
    std::wstring className;
    std::wstring caption;
};

// Empty or zero fields match anything.
struct WindowQuery {
    std::wstring className{};
    std::optional<std::wstring> caption = std::nullopt;
    DWORD processId = 0;
    bool visibleOnly = false;
};

std::wstring ClassNameOf(HWND window);
std::wstring TextOf(HWND window);
WindowInfo DescribeWindow(HWND window);

std::vector<WindowInfo> FindTopLevelWindows(const WindowQuery& query);
std::vector<WindowInfo> ChildWindowsOf(HWND parent);

// The first matching window, or null when none appeared within the timeout.
HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs = kDefaultTimeoutMs);
// True when no matching window is left within the timeout.
bool WaitForNoWindow(const WindowQuery& query, DWORD timeoutMs = kDefaultTimeoutMs);

// Throws when the message cannot be posted (the window is gone, for example).
void PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostCommand(HWND window, WORD commandId);
// Sends the command and returns once the window has handled it: for quick commands whose effect
// must be in place before the next step (a clipboard update may overtake a posted message).
void SendCommand(HWND window, WORD commandId);

// The program's notification-area callback: message 0x8001, wParam the icon id, lParam the mouse message.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;
void PostTrayCallback(HWND window, UINT mouseMessage);

// "WM_RBUTTONUP" and the other mouse button messages by name; nullopt for an unknown name.
std::optional<UINT> MouseMessageFromName(std::wstring_view name);

}  // namespace veltrano::driver
