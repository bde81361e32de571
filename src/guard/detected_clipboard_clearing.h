#pragma once
// Empties the clipboard some seconds after a detection when it still holds the copy that was
// warned about, so that a secret does not stay ready to paste.
#include <windows.h>

#include <string>

#include "base/window_registrations.h"
#include "log/log_writer.h"
#include "settings/settings.h"

namespace veltrano {

class DetectedClipboardClearing {
public:
    static constexpr UINT_PTR kTimerId = 1;  // of the main window

    DetectedClipboardClearing(const Settings& settings, LogWriter& log) : settings_(settings), log_(log) {}

    // The main window: its timer counts the seconds and it opens the clipboard.
    void AttachWindow(HWND window) noexcept { window_ = window; }
    // The copy numbered `sequence`, made by the program `source`, was warned about. A copy handled
    // inside the handling of an older one (a question's modal loop) may have been warned about
    // first: its clearing stays.
    void OnDetection(DWORD sequence, std::wstring source = {});
    // The timer went off: true when the clipboard was emptied.
    bool OnTimer();
    // Every clipboard update cancels the clearing of an older copy, and so does the exit.
    void Cancel();

private:
    const Settings& settings_;
    LogWriter& log_;
    HWND window_ = nullptr;
    WindowTimer timer_;          // runs while a copy waits to be cleared
    DWORD clearSequence_ = 0;    // of that copy
    std::wstring clearSource_;   // the program that made it
    int delaySeconds_ = 0;
};

}  // namespace veltrano
