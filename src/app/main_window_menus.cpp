// Tray actions: the menus the tray icon and the clipboard text window open.
#include "app/main_window.h"
#include "app/main_menu.h"
#include "app/popup_menu.h"
#include "base/scope_exit.h"
#include "resource.h"

namespace veltrano {

void MainWindow::RunTrayAction(TrayAction action) {
    if (!window_) return;
    switch (action) {
        case TrayAction::None: return;
        case TrayAction::MainMenu: ShowMainMenu(); return;
        case TrayAction::ManualReplaceMenu: ShowManualReplaceMenu(); return;
        case TrayAction::HistoryMenu: ShowClipboardHistoryMenu(); return;
        case TrayAction::CopyTextMenu: ShowCopyTextMenu(); return;
    }
}

void MainWindow::ShowMainMenu() {
    const LoadedPopup loaded = LoadPopup(features_.instance, IDR_MAIN_MENU);
    if (!loaded.popup) return;
    ApplyMainMenuState(loaded.popup,
                       BuildMainMenuState(features_.settings,
                                          {.autoReplaceEnabled = features_.pipeline.AutoReplaceEnabled(),
                                           .keywordFilesSealed = features_.keywordLists.Files().SealedOnDisk(),
                                           .replaceFilesSealed = features_.replacements.Files().SealedOnDisk()}));
    TrackPopupAtCursor(window_, loaded.popup);
}

void MainWindow::ShowManualReplaceMenu() {
    const LoadedPopup loaded = LoadPopup(features_.instance, IDR_MANUAL_REPLACE_MENU);
    if (!loaded.popup) return;
    features_.replacements.ReloadChanged();
    FillPopup(loaded.popup, BuildManualReplaceMenu(features_.replacements, features_.settings.UseClipboardReplace()),
              kManualReplaceCommands, IDM_PLACEHOLDER);
    // The chosen item's command is posted before the menu returns, ahead of any later copy.
    features_.replacements.HoldChangedReloads(true);
    const ScopeExit release([this] { features_.replacements.HoldChangedReloads(false); });
    TrackPopupAtCursor(window_, loaded.popup);
}

void MainWindow::ShowClipboardHistoryMenu() {
    // Work whose message was lost shows all the same.
    features_.history.CompleteLoad();
    features_.history.CompleteWrites();
    {
        // While the menu is open, neither a copy nor a finished write may shift the entries
        // behind its command ids.
        const ClipboardHistory::MenuOpenGuard open(features_.history);
        const LoadedPopup loaded = LoadPopup(features_.instance, IDR_HISTORY_MENU);
        if (!loaded.popup) return;
        FillPopup(loaded.popup, features_.history.BuildMenu(kHistoryCommands.Capacity()), kHistoryCommands,
                  IDM_PLACEHOLDER);
        TrackPopupAtCursor(window_, loaded.popup);
    }
    // The writes finished meanwhile are taken after the chosen entry's command, which the menu
    // has already posted.
    ::PostMessageW(window_, kHistoryWorkDoneMessage, 0, 0);
}

void MainWindow::ShowCopyTextMenu() {
    const UniqueHmenu popup(::CreatePopupMenu());
    if (!popup) return;
    FillPopup(popup.Get(), features_.copyTexts.BuildMenu(kCopyTextCommands.Capacity()), kCopyTextCommands);
    TrackPopupAtCursor(window_, popup.Get());
}

}  // namespace veltrano
