#pragma once
// Reading text from the clipboard, a seam so features can be tested without a desktop.
#include <windows.h>

#include <optional>
#include <string>

#include "base/clipboard_writer.h"

namespace veltrano {

// The program that put a copy on the clipboard.
struct ClipboardSource {
    std::wstring program;  // its file name
    bool guessed = false;  // the copy had no owner window: the program in front then

    // As a warning names it.
    std::wstring Shown() const { return guessed ? program + L"（推定）" : program; }
};

struct ClipboardText {
    std::wstring text;
    HistoryUse historyUse = HistoryUse::Allowed;  // as the copy's owner marked it
    ClipboardSource source;
    DWORD sequence = 0;  // the clipboard's sequence number while the copy was read
};

class ClipboardReader {
public:
    virtual ~ClipboardReader() = default;
    // The clipboard's Unicode text; nullopt when it holds none, cannot be opened, or is private.
    virtual std::optional<ClipboardText> Read(HWND owner) = 0;
};

}  // namespace veltrano
