#include "base/notifier.h"

#include <windows.h>

#include "base/text_encoding.h"

namespace veltrano {

void Notifier::NotifyUtf8(std::string_view body, std::string_view title, NotifyKind kind) noexcept {
    try {
        const std::wstring wideTitle = Utf8ToWide(title);
        const std::wstring wideBody = Utf8ToWide(body);
        Notify(wideBody, wideTitle, kind);
    } catch (...) {
        ShowFallbackBox();
    }
}

void Notifier::ShowFallbackBox() noexcept {
    ::MessageBoxW(nullptr, L"通知メッセージの表示に失敗しました。", L"エラー - Veltrano", MB_ICONERROR);
}

}  // namespace veltrano
