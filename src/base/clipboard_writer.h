#pragma once
// Putting text on the clipboard, a seam so stores can be tested without a desktop.
#include <windows.h>

#include <string>

namespace veltrano {

class ClipboardWriter {
public:
    virtual ~ClipboardWriter() = default;
    // True when the text is on the clipboard.
    virtual bool Write(const std::wstring& text, HWND owner) = 0;
};

}  // namespace veltrano
