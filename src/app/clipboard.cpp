#include "app/clipboard.h"

#include <algorithm>
#include <cstring>

#include "base/clipboard_guards.h"
#include "base/unique_any.h"

namespace veltrano {
namespace {

constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryDelayMs = 50;

}  // namespace

std::optional<std::wstring> ReadClipboardText(HWND owner) {
    ClipboardOpenGuard clipboard(owner);
    if (!clipboard.IsOpen() || !::IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    GlobalLockGuard<const wchar_t> lock(data);
    if (!lock) return std::nullopt;
    // Never read past the block, even when its text lacks a terminator.
    const size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
    const wchar_t* text = lock.get();
    return std::wstring(text, std::find(text, text + capacity, L'\0'));
}

bool WriteClipboardText(const std::wstring& text, HWND owner) {
    std::optional<ClipboardOpenGuard> clipboard;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        clipboard.emplace(owner);
        if (clipboard->IsOpen()) break;
        ::Sleep(kOpenRetryDelayMs);
    }
    if (!clipboard->IsOpen() || !::EmptyClipboard()) return false;

    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    {
        GlobalLockGuard<wchar_t> lock(memory.get());
        if (!lock) return false;
        std::memcpy(lock.get(), text.c_str(), bytes);
    }
    if (!::SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();  // the clipboard owns it now
    return true;
}

}  // namespace veltrano
