// Tray actions: the menus the tray icon and the clipboard text window open.
#include "app/application.h"
#include "app/main_menu.h"
#include "app/popup_menu.h"
#include "base/scope_exit.h"
#include "resource.h"

namespace veltrano {

void Application::RunTrayAction(TrayAction action) {
    if (!window_) return;
    switch (action) {
        case TrayAction::None: return;
        case TrayAction::MainMenu: ShowMainMenu(); return;
        case TrayAction::ManualReplaceMenu: ShowManualReplaceMenu(); return;
        case TrayAction::HistoryMenu: ShowClipboardHistoryMenu(); return;
        case TrayAction::CopyTextMenu: ShowCopyTextMenu(); return;
    }
}

void Application::ShowMainMenu() {
    const LoadedPopup loaded = LoadPopup(instance_, IDR_MAIN_MENU);
    if (!loaded.popup) return;
    ApplyMainMenuState(loaded.popup, BuildMainMenuState(settings_, pipeline_.AutoReplaceEnabled()));
    TrackPopupAtCursor(window_, loaded.popup);
}

void Application::ShowManualReplaceMenu() {
    const LoadedPopup loaded = LoadPopup(instance_, IDR_MANUAL_REPLACE_MENU);
    if (!loaded.popup) return;
    replacements_.ReloadChanged();
    FillPopup(loaded.popup, BuildManualReplaceMenu(replacements_, settings_.UseClipboardReplace()),
              kManualReplaceCommands, IDM_PLACEHOLDER);
    // The chosen item's command is posted before the menu returns, ahead of any later copy.
    replacements_.HoldChangedReloads(true);
    const ScopeExit release([this] { replacements_.HoldChangedReloads(false); });
    TrackPopupAtCursor(window_, loaded.popup);
}

void Application::ShowClipboardHistoryMenu() {
    // Work whose message was lost shows all the same.
    history_.CompleteLoad();
    history_.CompleteWrites();
    {
        // While the menu is open, neither a copy nor a finished write may shift the entries
        // behind its command ids.
        const ClipboardHistory::MenuOpenGuard open(history_);
        const LoadedPopup loaded = LoadPopup(instance_, IDR_HISTORY_MENU);
        if (!loaded.popup) return;
        FillPopup(loaded.popup, history_.BuildMenu(kHistoryCommands.Capacity()), kHistoryCommands, IDM_PLACEHOLDER);
        TrackPopupAtCursor(window_, loaded.popup);
    }
    // The writes finished meanwhile are taken after the chosen entry's command, which the menu
    // has already posted.
    ::PostMessageW(window_, kHistoryWorkDoneMessage, 0, 0);
}

void Application::ShowCopyTextMenu() {
    const UniqueHmenu popup(::CreatePopupMenu());
    if (!popup) return;
    FillPopup(popup.Get(), copyTexts_.BuildMenu(kCopyTextCommands.Capacity()), kCopyTextCommands);
    TrackPopupAtCursor(window_, popup.Get());
}

}  // namespace veltrano
