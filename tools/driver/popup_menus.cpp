#include "driver/popup_menus.h"

#include "driver/window_queries.h"

namespace veltrano::driver {

HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs) {
    return WaitForWindow({.className = kPopupMenuClass, .processId = processId, .visibleOnly = true}, timeoutMs);
}

// The menu's modal loop reads keyboard messages from its thread's queue. One message each: the
// menu ends, and its window goes, as soon as it has read the one that chooses or closes, so any
// message posted after it would find no window (error 1400) whenever the program was quicker.
void ChooseMenuAccelerator(HWND menuWindow, wchar_t accelerator) { PostToWindow(menuWindow, WM_CHAR, accelerator, 1); }

void CloseMenu(HWND menuWindow) { PostToWindow(menuWindow, WM_KEYDOWN, VK_ESCAPE, 1); }

}  // namespace veltrano::driver
