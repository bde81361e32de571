#pragma once
// Reading text from the clipboard, a seam so features can be tested without a desktop.
#include <windows.h>

#include <optional>
#include <string>

namespace veltrano {

class ClipboardReader {
public:
    virtual ~ClipboardReader() = default;
    // The clipboard's Unicode text; nullopt when it holds none or cannot be opened.
    virtual std::optional<std::wstring> Read(HWND owner) = 0;
};

}  // namespace veltrano
