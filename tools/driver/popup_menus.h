#pragma once
// Pop-up menus of another process. Their items cannot be read from outside (the menu handle
// belongs to its process), but the menu window can be found and an item chosen by keyboard.
#include <windows.h>

#include "driver/waiting.h"

namespace veltrano::driver {

inline constexpr wchar_t kPopupMenuClass[] = L"#32768";

// The visible pop-up menu window of the process, or null when none appeared in time.
HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs);

// Types the accelerator character (the letter or digit after "&") into the open menu.
void ChooseMenuAccelerator(HWND menuWindow, wchar_t accelerator);

// Closes the open menu without choosing anything.
void CloseMenu(HWND menuWindow);

}  // namespace veltrano::driver
