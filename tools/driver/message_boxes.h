#pragma once
// Message boxes of any process: standard dialogs of class "#32770" found by their caption.
#include <windows.h>

#include <string>
#include <vector>

#include "driver/waiting.h"

namespace veltrano::driver {

inline constexpr wchar_t kDialogClass[] = L"#32770";
// The id of a message box's body text control.
inline constexpr int kMessageBoxTextId = 0xFFFF;

// Visible message boxes with exactly this caption.
std::vector<HWND> FindMessageBoxes(const std::wstring& caption);
// The first such box, or null when none appeared within the timeout.
HWND WaitForMessageBox(const std::wstring& caption, DWORD timeoutMs = kDefaultTimeoutMs);

// The body text as the control holds it (line breaks stay "\n"); throws when the box has none.
std::wstring MessageBoxText(HWND box);

// Posts BM_CLICK to the button with this id (IDOK, IDYES, ...); throws when the box has no such button.
void PressButton(HWND box, int buttonId);

}  // namespace veltrano::driver
