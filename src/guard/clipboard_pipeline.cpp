#include "guard/clipboard_pipeline.h"

#include "guard/tray_tip.h"
#include "base/error_text.h"
#include "base/scope_exit.h"
#include "log/failure_report.h"

namespace veltrano {
namespace {

constexpr FailureReport kUpdateFailed{LogCategory::Other, L"クリップボード処理エラー",
                                      L"次の理由で、クリップボードの処理に失敗しました。\n\n理由："};

}  // namespace

void ClipboardPipeline::ProcessClipboardText(ClipboardText copy) {
    try {
        Run(std::move(copy));
    } catch (...) {
        ReportFailure(steps_.log, steps_.notifier, kUpdateFailed, CurrentErrorText());
    }
}

void ClipboardPipeline::Run(ClipboardText copy) {
    std::wstring& text = copy.text;
    const HistoryUse historyUse = copy.historyUse;
    const bool copied = !steps_.autoReplace.LastUpdateWasAutoReplace();
    // Warnings, logs and events name the copying program only when the user wants it shown.
    const std::wstring source = steps_.settings.ShowSourceApplication() ? copy.source.Shown() : std::wstring();
    bool record = historyUse == HistoryUse::Allowed;
    if (steps_.settings.UseClipboardReplace() && autoReplaceEnabled_) {
        // A copy is recorded as copied, before automatic replacement: its question runs a modal
        // loop in which later copies are handled.
        if (copied && record) {
            steps_.history.Add(text);
            record = false;
        }
        // The rewritten text comes back as an update of its own (it carries the copy's history
        // use); a text that automatic replacement wrote is recorded only if not replaced again.
        if (steps_.autoReplace.RunAutoReplace(text, historyUse, source)) return;
    }
    // Otherwise recorded last, on every path, when nothing else needs the text: the history
    // then frees a giant copy's memory before it seals it.
    const ScopeExit recordLast([&] {
        if (record) steps_.history.Add(std::move(text));
    });
    steps_.trayIcon.SetTip(BuildTrayTip(text));
    steps_.textWindow.UpdateText(text);
    if (steps_.keywordSearch.SearchKeywords(text, source)) {
        steps_.clearing.OnDetection(copy.sequence, source);
    }
}

void ClipboardPipeline::ProcessNoText() {
    steps_.trayIcon.SetTip(BuildTrayTip(L""));
    steps_.textWindow.ClearText();
}

}  // namespace veltrano
