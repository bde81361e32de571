// Commands of the tray menus, dispatched by id and by id range.
#include "app/about_box.h"
#include "app/entry_commands.h"
#include "app/main_window.h"
#include "app/shell_open.h"
#include "base/scope_exit.h"
#include "resource.h"
#include "storage/file_system.h"

namespace veltrano {

LRESULT MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    switch (id) {
        case IDM_EXIT:
            // An organisation may keep the guard running; the session's end and installers still end it.
            if (features_.settings.AllowExit()) ::DestroyWindow(window_);
            return 0;
        case IDM_ABOUT: OnAboutCommand(); return 0;
        case IDM_OPEN_README:
            if (!features_.paths.programFolder.empty()) OpenWithShell(features_.paths.programFolder + L"\\Readme.txt");
            return 0;
        case IDM_SETTINGS: OnSettingsCommand(); return 0;
        case IDM_ENCRYPT_KEYWORD_FILE: features_.keywordEncryption.Set(!features_.settings.EncryptKeywordFile()); return 0;
        case IDM_ENCRYPT_COPY_TEXTS: features_.copyTexts.EncryptAndReloadCommand(); return 0;
        case IDM_DECRYPT_COPY_TEXTS: features_.copyTexts.Decrypt(); return 0;
        case IDM_AUTO_REPLACE: features_.pipeline.SetAutoReplaceEnabled(!features_.pipeline.AutoReplaceEnabled()); return 0;
        case IDM_OPEN_PROGRAM_FOLDER:
            if (!features_.paths.programFolder.empty()) OpenWithShell(features_.paths.programFolder);
            return 0;
        case IDM_OPEN_LOG_FOLDER: OpenDataFolder(features_.log.LogFolderPath()); return 0;
        case IDM_OPEN_COPY_TEXT_FOLDER: OpenDataFolder(features_.copyTexts.FolderPath()); return 0;
        case IDM_ENCRYPT_REPLACE_FILE: features_.replaceEncryption.Set(!features_.settings.EncryptReplaceFile()); return 0;
        case IDM_OPEN_WILDCARD_KEYWORDS: features_.OpenKeywordFile(PatternSyntax::Wildcard); return 0;
        case IDM_OPEN_REGEX_KEYWORDS: features_.OpenKeywordFile(PatternSyntax::Regex); return 0;
        case IDM_OPEN_WILDCARD_REPLACE: features_.OpenReplacementFile(PatternSyntax::Wildcard); return 0;
        case IDM_OPEN_REGEX_REPLACE: features_.OpenReplacementFile(PatternSyntax::Regex); return 0;
        case IDM_TEXT_WINDOW_MOVE_TO_MOUSE:
        case IDM_TEXT_WINDOW_MOVABLE:
        case IDM_TEXT_WINDOW_FIXED:
        case IDM_TEXT_WINDOW_CLICK_THROUGH:
        case IDM_TEXT_WINDOW_HIDE: features_.textWindow.OnMenuCommand(id, window_); return 0;
    }
    if (const std::optional<size_t> index = kHistoryCommands.IndexOf(id)) {
        features_.history.Restore(window_, *index);
        return 0;
    }
    if (const std::optional<size_t> index = kCopyTextCommands.IndexOf(id)) {
        features_.copyTexts.Choose(window_, *index);
        return 0;
    }
    if (const std::optional<size_t> index = kManualReplaceCommands.IndexOf(id)) {
        features_.manualReplace.RunManualReplace(window_, *index);
        return 0;
    }
    return ::DefWindowProcW(window_, WM_COMMAND, wParam, lParam);
}

void MainWindow::OpenDataFolder(const std::wstring& folder) {
    if (!folder.empty() && CreateFolders(folder)) OpenWithShell(folder);
}

void MainWindow::RunOneDialog(const std::function<void()>& run) {
    // The modal loop still dispatches posted commands to the main window, hence the flag.
    if (dialogOpen_) return;
    dialogOpen_ = true;
    const ScopeExit closed([this] { dialogOpen_ = false; });
    run();
}

void MainWindow::OnAboutCommand() {
    RunOneDialog([this] { ShowAboutBox(features_.instance, window_, features_.paths); });
}

void MainWindow::OnSettingsCommand() {
    RunOneDialog([this] { features_.OpenSettingsSheet(window_); });
    // The organisation's folder may have changed with the settings; its files may have anyway.
    features_.organizationKeywords.CheckNow();
}

}  // namespace veltrano
