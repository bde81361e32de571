#pragma once
// Reading tooltip controls that run in another process: Wine's desktop process (explorer.exe)
// shows the tips and the balloons of the notification-area icons in them.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/unique_any.h"

namespace veltrano::driver {

enum class TooltipStyle { Tip, Balloon };  // Balloon: TTS_BALLOON

// Opens a process for reading its tooltips; throws when it cannot be opened.
UniqueHandle OpenTooltipProcess(DWORD processId);

// Top-level tooltip controls of `processId` with this style whose owner is one of `owners`.
std::vector<HWND> FindTooltips(DWORD processId, const std::vector<HWND>& owners, TooltipStyle style,
                               bool visibleOnly);

// One tooltip control of another process. Its messages carry pointers that Wine passes through
// unchanged, so each query builds its structures and buffers inside that process.
class RemoteTooltip {
public:
    RemoteTooltip(HANDLE process, HWND tooltip) : process_(process), tooltip_(tooltip) {}

    // The text of the tool that Wine registers for `toolWindow` (TTF_IDISHWND: the window is both
    // hwnd and id), at most capacity - 1 units; nullopt when the control has no such tool or is
    // gone. Throws when it is there but does not answer.
    std::optional<std::wstring> ToolText(HWND toolWindow, size_t capacity) const;

private:
    HANDLE process_;
    HWND tooltip_;
};

}  // namespace veltrano::driver
