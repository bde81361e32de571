#include "driver/message_boxes.h"

#include <stdexcept>

#include "driver/window_queries.h"

namespace veltrano::driver {
namespace {

HWND ControlOf(HWND box, int id) {
    HWND control = ::GetDlgItem(box, id);
    if (!control) throw std::runtime_error("the dialog has no control with id " + std::to_string(id));
    return control;
}

}  // namespace

std::vector<HWND> FindMessageBoxes(const std::wstring& caption) {
    std::vector<HWND> boxes;
    for (const WindowInfo& info : FindTopLevelWindows({.className = kDialogClass, .caption = caption, .visibleOnly = true})) boxes.push_back(info.handle);
    return boxes;
}

HWND WaitForMessageBox(const std::wstring& caption, DWORD timeoutMs) {
    return WaitForWindow({.className = kDialogClass, .caption = caption, .visibleOnly = true}, timeoutMs);
}

std::wstring MessageBoxText(HWND box) { return TextOf(ControlOf(box, kMessageBoxTextId)); }

void PressButton(HWND box, int buttonId) { PostToWindow(ControlOf(box, buttonId), BM_CLICK, 0, 0); }

}  // namespace veltrano::driver
