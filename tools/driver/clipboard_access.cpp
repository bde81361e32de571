#include "driver/clipboard_access.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "base/clipboard_guards.h"
#include "base/unique_any.h"

namespace veltrano::driver {
namespace {

// Another program (the one under test, or Wine's clipboard manager) may hold the clipboard briefly.
void OpenWithRetry(std::optional<ClipboardOpenGuard>& guard, HWND owner, DWORD timeoutMs) {
    const bool opened = PollUntil(timeoutMs, [&] {
        guard.emplace(owner);
        if (guard->IsOpen()) return true;
        guard.reset();
        return false;
    });
    if (!opened) throw std::runtime_error("the clipboard could not be opened");
}

UniqueHglobal AllocateMovable(size_t bytes) {
    UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) throw std::runtime_error("GlobalAlloc failed");
    return memory;
}

void DestroyWindowHandle(HWND window) noexcept { ::DestroyWindow(window); }
using UniqueHwnd = UniqueAny<NullInvalidTraits<HWND, DestroyWindowHandle>>;

struct ClipboardItem {
    UINT format;
    UniqueHglobal memory;
};

UniqueHwnd CreateOwnerWindow() {
    UniqueHwnd owner(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    if (!owner) throw std::runtime_error("cannot create a clipboard owner window");
    return owner;
}

// All items go on the clipboard in one session, as one program's copy by `owner`.
void ReplaceClipboardWith(std::vector<ClipboardItem> items, HWND owner, DWORD timeoutMs) {
    std::optional<ClipboardOpenGuard> guard;
    OpenWithRetry(guard, owner, timeoutMs);
    if (!::EmptyClipboard()) throw std::runtime_error("EmptyClipboard failed");
    for (ClipboardItem& item : items) {
        if (!::SetClipboardData(item.format, item.memory.Get())) throw std::runtime_error("SetClipboardData failed");
        item.memory.Detach();  // the clipboard owns it now
    }
}

UniqueHglobal GlobalCopy(const void* bytes, size_t size) {
    UniqueHglobal memory = AllocateMovable(size);
    GlobalLockGuard<BYTE> data(memory.Get());
    if (!data) throw std::runtime_error("GlobalLock failed");
    std::memcpy(data.Get(), bytes, size);
    return memory;
}

ClipboardItem TextItem(const std::wstring& text) {
    return {CF_UNICODETEXT, GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t))};
}

}  // namespace

void SetClipboardText(const std::wstring& text, DWORD timeoutMs) { SetClipboardText(text, {}, timeoutMs); }

void SetClipboardText(const std::wstring& text, const ClipboardMarkers& markers, DWORD timeoutMs) {
    std::vector<ClipboardItem> items;
    items.push_back(TextItem(text));
    // A marker's content does not matter, only its presence; the history one holds a DWORD.
    const DWORD zero = 0;
    if (markers.excludeFromMonitoring) {
        items.push_back({::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing"),
                         GlobalCopy(&zero, sizeof zero)});
    }
    if (markers.viewerIgnore) {
        items.push_back({::RegisterClipboardFormatW(L"Clipboard Viewer Ignore"), GlobalCopy(&zero, sizeof zero)});
    }
    if (markers.canIncludeInHistory) {
        items.push_back({::RegisterClipboardFormatW(L"CanIncludeInClipboardHistory"),
                         GlobalCopy(&*markers.canIncludeInHistory, sizeof(DWORD))});
    }
    // Windows refuses SetClipboardData after EmptyClipboard without an owner window; the data
    // stays on the clipboard after the owner is gone.
    ReplaceClipboardWith(std::move(items), CreateOwnerWindow().Get(), timeoutMs);
}

ClipboardOwner::ClipboardOwner() : window_(CreateOwnerWindow().Detach()) {}

ClipboardOwner::~ClipboardOwner() { ::DestroyWindow(window_); }

void ClipboardOwner::Copy(const std::wstring& text, DWORD timeoutMs) {
    std::vector<ClipboardItem> items;
    items.push_back(TextItem(text));
    ReplaceClipboardWith(std::move(items), window_, timeoutMs);
}

void SetClipboardImage(DWORD timeoutMs) {
    constexpr LONG kSide = 8;
    constexpr DWORD kStride = ((kSide * 3 + 3) / 4) * 4;
    constexpr DWORD kPixelBytes = kStride * kSide;
    UniqueHglobal memory = AllocateMovable(sizeof(BITMAPINFOHEADER) + kPixelBytes);
    {
        GlobalLockGuard<BYTE> data(memory.Get());
        if (!data) throw std::runtime_error("GlobalLock failed");
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = kSide;
        header.biHeight = kSide;
        header.biPlanes = 1;
        header.biBitCount = 24;
        header.biCompression = BI_RGB;
        header.biSizeImage = kPixelBytes;
        std::memcpy(data.Get(), &header, sizeof header);
        BYTE* pixels = data.Get() + sizeof header;
        for (DWORD i = 0; i < kPixelBytes; ++i) pixels[i] = static_cast<BYTE>(i * 7);
    }
    std::vector<ClipboardItem> items;
    items.push_back({CF_DIB, std::move(memory)});
    ReplaceClipboardWith(std::move(items), CreateOwnerWindow().Get(), timeoutMs);
}

std::optional<std::wstring> GetClipboardText(DWORD timeoutMs) {
    std::optional<ClipboardOpenGuard> guard;
    OpenWithRetry(guard, nullptr, timeoutMs);
    HANDLE memory = ::GetClipboardData(CF_UNICODETEXT);
    if (!memory) return std::nullopt;
    GlobalLockGuard<const wchar_t> data(memory);
    if (!data) throw std::runtime_error("GlobalLock failed on the clipboard text");
    // The terminator may be missing if a writer sized the block exactly.
    const size_t capacity = ::GlobalSize(memory) / sizeof(wchar_t);
    const wchar_t* begin = data.Get();
    return std::wstring(begin, std::find(begin, begin + capacity, L'\0'));
}

std::wstring MakeSizedText(size_t length) {
    static constexpr std::wstring_view kPattern = L"ヴェルトラーノ clipboard 試験 0123456789\r\n";
    std::wstring text;
    text.reserve(length);
    while (text.size() < length) text.append(kPattern.substr(0, length - text.size()));
    return text;
}

}  // namespace veltrano::driver
