#pragma once
// What happens to every clipboard text, in a fixed order on the UI thread.
#include <string>

#include "app/tray_icon.h"
#include "log/log_writer.h"
#include "matching/keyword_search.h"
#include "notify/notifier.h"
#include "stores/clipboard_history.h"

namespace veltrano {

class ClipboardPipeline {
public:
    ClipboardPipeline(TrayIcon& trayIcon, ClipboardHistory& history, KeywordSearch& keywordSearch, Notifier& notifier,
                      LogWriter& log)
        : trayIcon_(trayIcon), history_(history), keywordSearch_(keywordSearch), notifier_(notifier), log_(log) {}

    // One clipboard update; no failure inside can escape it.
    void ProcessClipboardText(const std::wstring& text);
    // The clipboard holds no text (an image, say, or it could not be read).
    void ProcessNoText();

private:
    void Run(const std::wstring& text);
    void ReportFailure();

    TrayIcon& trayIcon_;
    ClipboardHistory& history_;
    KeywordSearch& keywordSearch_;
    Notifier& notifier_;
    LogWriter& log_;
};

}  // namespace veltrano
