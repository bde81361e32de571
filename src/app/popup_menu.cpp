#include "app/popup_menu.h"

namespace veltrano {

LoadedPopup LoadPopup(HINSTANCE instance, int resourceId) {
    LoadedPopup loaded;
    loaded.menu.Reset(::LoadMenuW(instance, MAKEINTRESOURCEW(resourceId)));
    if (loaded.menu) loaded.popup = ::GetSubMenu(loaded.menu.Get(), 0);
    if (!loaded.popup) loaded.menu.Reset();
    return loaded;
}

void FillPopup(HMENU popup, const MenuEntries& entries, std::optional<UINT> placeholderId) {
    for (const MenuEntry& entry : entries) {
        ::AppendMenuW(popup, MF_STRING | (entry.grayed ? MF_GRAYED : MF_ENABLED), entry.id, entry.label.c_str());
    }
    if (placeholderId) ::RemoveMenu(popup, *placeholderId, MF_BYCOMMAND);
}

void TrackPopupAtCursor(HWND owner, HMENU popup) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::SetForegroundWindow(owner);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace veltrano
