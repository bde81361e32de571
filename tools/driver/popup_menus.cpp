#include "driver/popup_menus.h"

#include <cwctype>

#include "driver/window_queries.h"

namespace veltrano::driver {

HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs) {
    return WaitForWindow({.className = kPopupMenuClass, .processId = processId, .visibleOnly = true}, timeoutMs);
}

void ChooseMenuAccelerator(HWND menuWindow, wchar_t accelerator) {
    // The menu's modal loop reads keyboard messages from its thread's queue.
    const WPARAM virtualKey = static_cast<WPARAM>(std::towupper(accelerator));
    PostToWindow(menuWindow, WM_KEYDOWN, virtualKey, 1);
    PostToWindow(menuWindow, WM_CHAR, accelerator, 1);
    PostToWindow(menuWindow, WM_KEYUP, virtualKey, 0xC0000001);
}

void CloseMenu(HWND menuWindow) {
    PostToWindow(menuWindow, WM_KEYDOWN, VK_ESCAPE, 1);
    PostToWindow(menuWindow, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

}  // namespace veltrano::driver
