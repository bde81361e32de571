#include "app/clipboard_pipeline.h"

#include "app/error_text.h"
#include "app/tray_tip.h"

namespace veltrano {

void ClipboardPipeline::ProcessClipboardText(const std::wstring& text) {
    try {
        Run(text);
    } catch (...) {
        ReportFailure();
    }
}

void ClipboardPipeline::Run(const std::wstring& text) {
    // A copied text is recorded as copied, before automatic replacement sees it.
    history_.Add(text);
    // Still to come: automatic replacement, which ends the pass when it rewrote the clipboard
    // (its own output is then recorded when it comes back, after the window shows it).
    trayIcon_.SetTip(BuildTrayTip(text));
    // Still to come: the clipboard text window shows the text.
    keywordSearch_.SearchKeywords(text);
}

void ClipboardPipeline::ProcessNoText() {
    trayIcon_.SetTip(BuildTrayTip(L""));
    // Still to come: the clipboard text window is cleared.
}

void ClipboardPipeline::ReportFailure() {
    const std::wstring body = L"次の理由で、クリップボードの処理に失敗しました。\n\n理由：" + CurrentErrorText();
    try {
        log_.WriteLog(LogCategory::Other, L"クリップボード処理エラー", body);
        notifier_.Notify(body, L"クリップボード処理エラー", NotifyKind::Error);
    } catch (...) {
        // Reporting itself failed (no thread could be started); the next update tries again.
    }
}

}  // namespace veltrano
