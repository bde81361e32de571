#include "guard/clipboard.h"

#include <algorithm>
#include <cstring>

#include "base/clipboard_guards.h"
#include "base/unique_any.h"

namespace veltrano {
namespace {

// Another program may hold the clipboard for a moment (a clipboard viewer reading the new text):
// a copy must not go unseen for that, so reading retries briefly too.
constexpr int kReadAttempts = 5;
constexpr DWORD kReadRetryDelayMs = 20;
constexpr int kWriteAttempts = 10;
constexpr DWORD kWriteRetryDelayMs = 50;

UINT CanIncludeInHistoryFormat() {
    static const UINT format = ::RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
    return format;
}

// Leaves `clipboard` holding the open clipboard, or closed after the last attempt.
void OpenWithRetries(std::optional<ClipboardOpenGuard>& clipboard, HWND owner, int attempts, DWORD delayMs) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        clipboard.emplace(owner);
        if (clipboard->IsOpen()) return;
        ::Sleep(delayMs);
    }
}

// On the open clipboard: a copy of `bytes` in `format`.
bool SetClipboardBytes(UINT format, const void* bytes, size_t size) {
    UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return false;
    {
        GlobalLockGuard<void> lock(memory.Get());
        if (!lock) return false;
        std::memcpy(lock.Get(), bytes, size);
    }
    if (!::SetClipboardData(format, memory.Get())) return false;
    memory.Detach();  // the clipboard owns it now
    return true;
}

}  // namespace

ClipboardContent ReadClipboardContent(HWND owner, std::wstring_view ignoredPrograms,
                                      const std::optional<ArrivedClipboardSource>& arrived) {
    static const UINT excludeFromMonitoring = ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    static const UINT viewerIgnore = ::RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
    const UINT canIncludeInHistory = CanIncludeInHistoryFormat();

    ClipboardContent content;
    std::optional<ClipboardOpenGuard> clipboard;
    OpenWithRetries(clipboard, owner, kReadAttempts, kReadRetryDelayMs);
    if (!clipboard->IsOpen()) return content;
    content.opened = true;
    content.sequence = ::GetClipboardSequenceNumber();
    content.source = ClipboardSourceProgram(content.sequence, arrived);
    // A guess may name the wrong program: only a real owner's copy is ignored.
    content.ignored = !content.source.guessed && IsListedProgram(ignoredPrograms, content.source.program);
    if (content.ignored) return content;
    content.markers.excludeFromMonitoring = ::IsClipboardFormatAvailable(excludeFromMonitoring);
    content.markers.viewerIgnore = ::IsClipboardFormatAvailable(viewerIgnore);
    if (::IsClipboardFormatAvailable(canIncludeInHistory)) {
        // Present but unreadable (no data, too short): the owner said something, so the safe reading.
        content.markers.canIncludeInHistory = 0;
        const HANDLE data = ::GetClipboardData(canIncludeInHistory);
        GlobalLockGuard<const DWORD> value(data);
        if (value && ::GlobalSize(data) >= sizeof(DWORD)) content.markers.canIncludeInHistory = *value.Get();
    }
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return content;
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    GlobalLockGuard<const wchar_t> lock(data);
    if (!lock) return content;
    // Never read past the block, even when its text lacks a terminator.
    const size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
    const wchar_t* text = lock.Get();
    content.text.emplace(text, std::find(text, text + capacity, L'\0'));
    return content;
}

std::optional<std::wstring> ReadClipboardText(HWND owner) { return ReadClipboardContent(owner).text; }

CopyPrivacy ShowableClipboard::Privacy(const ClipboardContent& content) const {
    return settings_.RespectPrivateCopies() ? PrivacyOf(content.markers) : CopyPrivacy::Ordinary;
}

ShowableClipboard::Reading ShowableClipboard::ReadCopy(HWND owner, const std::optional<ArrivedClipboardSource>& arrived) {
    // A listed program's copy is private whatever it carries, so its text is not even read.
    ClipboardContent content = ReadClipboardContent(owner, settings_.IgnoredApplications(), arrived);
    Reading reading{content.opened, std::nullopt};
    const CopyPrivacy privacy = Privacy(content);
    if (!content.text || privacy == CopyPrivacy::Private) return reading;
    reading.copy = ClipboardText{std::move(*content.text),
                                 privacy == CopyPrivacy::NotForHistory ? HistoryUse::Refused : HistoryUse::Allowed,
                                 std::move(content.source), content.sequence};
    return reading;
}

bool WriteClipboardText(const std::wstring& text, HWND owner, HistoryUse use) {
    std::optional<ClipboardOpenGuard> clipboard;
    OpenWithRetries(clipboard, owner, kWriteAttempts, kWriteRetryDelayMs);
    if (!clipboard->IsOpen() || !::EmptyClipboard()) return false;
    if (!SetClipboardBytes(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t))) return false;
    static constexpr DWORD kRefused = 0;
    return use == HistoryUse::Allowed || SetClipboardBytes(CanIncludeInHistoryFormat(), &kRefused, sizeof kRefused);
}

ClipboardEmptying EmptyClipboardHolding(DWORD sequence, HWND owner) {
    std::optional<ClipboardOpenGuard> clipboard;
    OpenWithRetries(clipboard, owner, kWriteAttempts, kWriteRetryDelayMs);
    if (!clipboard->IsOpen()) return ClipboardEmptying::Busy;
    if (::GetClipboardSequenceNumber() != sequence) return ClipboardEmptying::Changed;
    return ::EmptyClipboard() ? ClipboardEmptying::Emptied : ClipboardEmptying::Busy;
}

}  // namespace veltrano
