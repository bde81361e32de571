#include "app/clipboard_pipeline.h"

#include "app/tray_tip.h"
#include "base/error_text.h"

namespace veltrano {

void ClipboardPipeline::ProcessClipboardText(const std::wstring& text, HistoryUse historyUse) {
    try {
        Run(text, historyUse);
    } catch (...) {
        ReportFailure();
    }
}

void ClipboardPipeline::Run(const std::wstring& text, HistoryUse historyUse) {
    // A copied text is recorded as copied, before automatic replacement sees it; a text that
    // automatic replacement wrote is recorded below, only if it is not replaced once more. A
    // replacement carries the copy's history use, so it comes back marked as the copy was.
    const bool recordedFirst = !steps_.autoReplace.LastUpdateWasAutoReplace();
    const bool keepInHistory = historyUse == HistoryUse::Allowed;
    if (recordedFirst && keepInHistory) steps_.history.Add(text);
    if (steps_.settings.UseClipboardReplace() && autoReplaceEnabled_ &&
        steps_.autoReplace.RunAutoReplace(text, historyUse)) {
        return;  // the rewritten text comes back as an update of its own
    }
    steps_.trayIcon.SetTip(BuildTrayTip(text));
    steps_.textWindow.UpdateText(text);
    if (!recordedFirst && keepInHistory) steps_.history.Add(text);
    steps_.keywordSearch.SearchKeywords(text);
}

void ClipboardPipeline::ProcessNoText() {
    steps_.trayIcon.SetTip(BuildTrayTip(L""));
    steps_.textWindow.ClearText();
}

void ClipboardPipeline::ReportFailure() {
    const std::wstring body = L"次の理由で、クリップボードの処理に失敗しました。\n\n理由：" + CurrentErrorText();
    try {
        steps_.log.WriteLog(LogCategory::Other, L"クリップボード処理エラー", body);
        steps_.notifier.Notify(body, L"クリップボード処理エラー", NotifyKind::Error);
    } catch (...) {
        // Reporting itself failed (no thread could be started); the next update tries again.
    }
}

}  // namespace veltrano
