#pragma once
// The real clipboard, as another program on the desktop sees it.
#include <windows.h>

#include <optional>
#include <string>

#include "driver/waiting.h"

namespace veltrano::driver {

// Each replaces the whole clipboard content; throws when the clipboard stays busy or memory runs out.
void SetClipboardText(const std::wstring& text, DWORD timeoutMs = kDefaultTimeoutMs);
// The markers careful programs (password managers) put beside a text, set together with it.
struct ClipboardMarkers {
    bool excludeFromMonitoring = false;        // "ExcludeClipboardContentFromMonitorProcessing"
    bool viewerIgnore = false;                 // "Clipboard Viewer Ignore"
    std::optional<DWORD> canIncludeInHistory{};  // "CanIncludeInClipboardHistory"
};
void SetClipboardText(const std::wstring& text, const ClipboardMarkers& markers, DWORD timeoutMs = kDefaultTimeoutMs);
// A window of this process that stays the clipboard's owner after its copies, as a program's
// window does (the other copies' owner window is gone at once). While it owns the clipboard, the
// program under test must not write to it: Windows would wait for this thread to answer.
class ClipboardOwner {
public:
    ClipboardOwner();
    ~ClipboardOwner();
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;
    void Copy(const std::wstring& text, DWORD timeoutMs = kDefaultTimeoutMs);

private:
    HWND window_;
};

// A small 24-bit CF_DIB picture and nothing else, so no text format is on the clipboard.
void SetClipboardImage(DWORD timeoutMs = kDefaultTimeoutMs);

// CF_UNICODETEXT up to its terminator, or nullopt when the clipboard holds no text.
std::optional<std::wstring> GetClipboardText(DWORD timeoutMs = kDefaultTimeoutMs);

// A deterministic mix of Japanese, ASCII and line breaks of exactly `length` UTF-16 units,
// so a large clipboard text can be made here and recognised again elsewhere.
std::wstring MakeSizedText(size_t length);

}  // namespace veltrano::driver
