#pragma once
// Showing the program's pop-up menus the one way they are all shown.
#include <windows.h>

#include <optional>

#include "app/entry_commands.h"
#include "base/menu_entry.h"
#include "base/unique_any.h"

namespace veltrano {

// Menu resource `resourceId` with its first pop-up; empty handles when it cannot be loaded.
struct LoadedPopup {
    UniqueHmenu menu;
    HMENU popup = nullptr;
};
LoadedPopup LoadPopup(HINSTANCE instance, int resourceId);

// Appends the entries, each with its command from `commands` (an item without entry greyed),
// then removes the resource's placeholder item when there is one.
void FillPopup(HMENU popup, const MenuEntries& entries, const EntryCommands& commands,
               std::optional<UINT> placeholderId = std::nullopt);

// Owner to the foreground, the menu tracked at the cursor with the right button, then a null
// message posted so the menu closes properly. The chosen command arrives as WM_COMMAND.
void TrackPopupAtCursor(HWND owner, HMENU popup);

}  // namespace veltrano
