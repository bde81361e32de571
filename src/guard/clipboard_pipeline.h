#pragma once
// What happens to every clipboard text, in a fixed order on the UI thread.
#include <string>

#include "guard/detected_clipboard_clearing.h"
#include "notify/tray_icon.h"
#include "base/notifier.h"
#include "log/log_writer.h"
#include "matching/auto_replace.h"
#include "matching/keyword_search.h"
#include "settings/settings.h"
#include "stores/clipboard_history.h"
#include "textwindow/clipboard_text_window.h"

namespace veltrano {

class ClipboardPipeline {
public:
    struct Steps {
        const Settings& settings;
        TrayIcon& trayIcon;
        ClipboardTextWindow& textWindow;
        ClipboardHistory& history;
        AutoReplace& autoReplace;
        KeywordSearch& keywordSearch;
        DetectedClipboardClearing& clearing;
        Notifier& notifier;
        LogWriter& log;
    };
    explicit ClipboardPipeline(Steps steps) : steps_(steps) {}

    // The run-time switch of automatic replacement; never written back to the settings.
    bool AutoReplaceEnabled() const noexcept { return autoReplaceEnabled_; }
    void SetAutoReplaceEnabled(bool enabled) noexcept { autoReplaceEnabled_ = enabled; }

    // One clipboard update; no failure inside can escape it. A copy its owner marked as not for
    // history is not recorded, nor is the text automatic replacement makes of it.
    void ProcessClipboardText(ClipboardText copy);
    // The clipboard holds no text (an image, say, or it could not be read).
    void ProcessNoText();

private:
    void Run(ClipboardText copy);

    Steps steps_;
    bool autoReplaceEnabled_ = false;
};

}  // namespace veltrano
