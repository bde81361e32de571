#pragma once
// Reading text from the clipboard, a seam so features can be tested without a desktop.
#include <windows.h>

#include <optional>
#include <string>

#include "base/clipboard_writer.h"

namespace veltrano {

struct ClipboardText {
    std::wstring text;
    HistoryUse historyUse = HistoryUse::Allowed;  // as the copy's owner marked it
    std::wstring source;                          // the file name of the program that copied it
};

class ClipboardReader {
public:
    virtual ~ClipboardReader() = default;
    // The clipboard's Unicode text; nullopt when it holds none, cannot be opened, or is private.
    virtual std::optional<ClipboardText> Read(HWND owner) = 0;
};

}  // namespace veltrano
