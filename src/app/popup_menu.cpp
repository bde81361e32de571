#include "app/popup_menu.h"

namespace veltrano {

LoadedPopup LoadPopup(HINSTANCE instance, int resourceId) {
    LoadedPopup loaded;
    loaded.menu.Reset(::LoadMenuW(instance, MAKEINTRESOURCEW(resourceId)));
    if (loaded.menu) loaded.popup = ::GetSubMenu(loaded.menu.Get(), 0);
    if (!loaded.popup) loaded.menu.Reset();
    return loaded;
}

void FillPopup(HMENU popup, const MenuEntries& entries, const EntryCommands& commands,
               std::optional<UINT> placeholderId) {
    for (const MenuEntry& entry : entries) {
        if (entry.index) {
            ::AppendMenuW(popup, MF_STRING | MF_ENABLED, commands.CommandOf(*entry.index), entry.label.c_str());
        } else {
            ::AppendMenuW(popup, MF_STRING | MF_GRAYED, 0, entry.label.c_str());
        }
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
