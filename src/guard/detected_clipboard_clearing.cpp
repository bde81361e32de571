#include "guard/detected_clipboard_clearing.h"

#include "guard/clipboard.h"

namespace veltrano {
namespace {

constexpr wchar_t kLogTitle[] = L"クリップボード消去";

}  // namespace

void DetectedClipboardClearing::OnDetection(DWORD sequence, std::wstring source) {
    // Sequence numbers only grow (and wrap): the difference tells the newer copy.
    if (timer_ && static_cast<LONG>(clearSequence_ - sequence) > 0) return;
    delaySeconds_ = settings_.ClearDetectedClipboardSeconds();
    if (delaySeconds_ <= 0 || !window_) return;
    timer_ = StartWindowTimer(window_, kTimerId, static_cast<UINT>(delaySeconds_) * 1000u);
    clearSequence_ = sequence;
    clearSource_ = std::move(source);
}

bool DetectedClipboardClearing::OnTimer() {
    if (!timer_) return false;
    Cancel();
    // Switched off since the detection.
    if (settings_.ClearDetectedClipboardSeconds() <= 0) return false;
    switch (EmptyClipboardHolding(clearSequence_, window_)) {
        case ClipboardEmptying::Emptied:
            log_.WriteLog(LogCategory::KeywordSearch, kLogTitle,
                          L"検出から " + std::to_wstring(delaySeconds_) + L" 秒が過ぎたため、クリップボードを消去しました。");
            log_.ReportEvent(EventId::Cleared, {clearSource_});
            return true;
        case ClipboardEmptying::Changed: return false;  // a newer copy whose update is still on its way
        case ClipboardEmptying::Busy:
            log_.WriteLog(LogCategory::KeywordSearch, kLogTitle,
                          L"クリップボードを開けなかったため、検出したクリップボードを消去できませんでした。");
            return false;
    }
    return false;
}

void DetectedClipboardClearing::Cancel() { timer_.Reset(); }

}  // namespace veltrano
