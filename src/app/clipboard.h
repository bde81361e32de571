#pragma once
// The two clipboard operations the whole program shares.
#include <windows.h>

#include <optional>
#include <string>

namespace veltrano {

// The clipboard's Unicode text (up to its first NUL), or none when there is no text or the
// clipboard cannot be opened at once.
std::optional<std::wstring> ReadClipboardText(HWND owner);

// Puts the text on the clipboard; tries to open it up to 10 times, 50 ms apart.
bool WriteClipboardText(const std::wstring& text, HWND owner);

}  // namespace veltrano
