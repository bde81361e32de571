#pragma once
// Putting text on the clipboard, a seam so stores can be tested without a desktop.
#include <windows.h>

#include <string>

namespace veltrano {

// Whether a written text may be kept in clipboard histories, this program's and the system's:
// a text made from a copy its owner kept out of them stays out too.
enum class HistoryUse { Allowed, Refused };

class ClipboardWriter {
public:
    virtual ~ClipboardWriter() = default;
    // True when the text is on the clipboard.
    virtual bool Write(const std::wstring& text, HWND owner, HistoryUse use) = 0;
};

}  // namespace veltrano
