#pragma once
// The two clipboard operations the whole program shares.
#include <windows.h>

#include <optional>
#include <string>

#include "base/clipboard_reader.h"
#include "base/clipboard_writer.h"

namespace veltrano {

// The clipboard's Unicode text (up to its first NUL), or none when there is no text or the
// clipboard stays busy for about 100 ms.
std::optional<std::wstring> ReadClipboardText(HWND owner);

// Puts the text on the clipboard; tries to open it up to 10 times, 50 ms apart.
bool WriteClipboardText(const std::wstring& text, HWND owner);

// The real clipboard behind the seams the features use.
class SystemClipboard final : public ClipboardReader, public ClipboardWriter {
public:
    std::optional<std::wstring> Read(HWND owner) override { return ReadClipboardText(owner); }
    bool Write(const std::wstring& text, HWND owner) override { return WriteClipboardText(text, owner); }
};

}  // namespace veltrano
