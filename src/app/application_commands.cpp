// Commands of the tray menus, dispatched by id and by id range.
#include "app/about_box.h"
#include "app/application.h"
#include "app/entry_commands.h"
#include "app/shell_open.h"
#include "base/scope_exit.h"
#include "base/text_encoding.h"
#include "resource.h"
#include "settingsdialog/settings_sheet.h"
#include "storage/file_system.h"

namespace veltrano {

LRESULT Application::OnCommand(WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    switch (id) {
        case IDM_EXIT: ::DestroyWindow(window_); return 0;
        case IDM_ABOUT: OnAboutCommand(); return 0;
        case IDM_OPEN_README:
            if (!paths_.programFolder.empty()) OpenWithShell(paths_.programFolder + L"\\Readme.txt");
            return 0;
        case IDM_SETTINGS: OnSettingsCommand(); return 0;
        case IDM_ENCRYPT_KEYWORD_FILE: keywordEncryption_.Set(!settings_.EncryptKeywordFile()); return 0;
        case IDM_ENCRYPT_COPY_TEXTS: copyTexts_.EncryptAndReloadCommand(); return 0;
        case IDM_DECRYPT_COPY_TEXTS: copyTexts_.Decrypt(); return 0;
        case IDM_AUTO_REPLACE: pipeline_.SetAutoReplaceEnabled(!pipeline_.AutoReplaceEnabled()); return 0;
        case IDM_OPEN_PROGRAM_FOLDER:
            if (!paths_.programFolder.empty()) OpenWithShell(paths_.programFolder);
            return 0;
        case IDM_OPEN_LOG_FOLDER: OpenDataFolder(log_.LogFolderPath()); return 0;
        case IDM_OPEN_COPY_TEXT_FOLDER: OpenDataFolder(copyTexts_.FolderPath()); return 0;
        case IDM_ENCRYPT_REPLACE_FILE: replaceEncryption_.Set(!settings_.EncryptReplaceFile()); return 0;
        case IDM_OPEN_WILDCARD_KEYWORDS:
            OpenListFile(keywordEncryption_, keywordLists_.Files(), PatternSyntax::Wildcard);
            return 0;
        case IDM_OPEN_REGEX_KEYWORDS: OpenListFile(keywordEncryption_, keywordLists_.Files(), PatternSyntax::Regex); return 0;
        case IDM_OPEN_WILDCARD_REPLACE:
            OpenListFile(replaceEncryption_, replacements_.Files(), PatternSyntax::Wildcard);
            return 0;
        case IDM_OPEN_REGEX_REPLACE: OpenListFile(replaceEncryption_, replacements_.Files(), PatternSyntax::Regex); return 0;
        case IDM_TEXT_WINDOW_MOVE_TO_MOUSE:
        case IDM_TEXT_WINDOW_MOVABLE:
        case IDM_TEXT_WINDOW_FIXED:
        case IDM_TEXT_WINDOW_CLICK_THROUGH:
        case IDM_TEXT_WINDOW_HIDE: textWindow_.OnMenuCommand(id, window_); return 0;
    }
    if (const std::optional<size_t> index = kHistoryCommands.IndexOf(id)) {
        history_.Restore(window_, *index);
        return 0;
    }
    if (const std::optional<size_t> index = kCopyTextCommands.IndexOf(id)) {
        copyTexts_.Choose(window_, *index);
        return 0;
    }
    if (const std::optional<size_t> index = kManualReplaceCommands.IndexOf(id)) {
        manualReplace_.RunManualReplace(window_, *index);
        return 0;
    }
    return ::DefWindowProcW(window_, WM_COMMAND, wParam, lParam);
}

void Application::OpenDataFolder(const std::wstring& folder) {
    if (!folder.empty() && CreateFolders(folder)) OpenWithShell(folder);
}

void Application::OpenListFile(ListFileEncryption& encryption, ListFilePair& files, PatternSyntax syntax) {
    // The editor gets the text form: an encrypted family is turned back into text first, unless
    // the organisation keeps it sealed.
    if (files.Encrypted() && files.EncryptionHeld()) {
        notifier_.Notify(L"組織のポリシーで暗号化が指定されているため、このファイルは編集できません。", L"エラー", NotifyKind::Error);
        return;
    }
    if (files.Encrypted()) {
        encryption.Set(false);
        files.EnsureFile(syntax);
    }
    const std::wstring textPath = files.Path(syntax, false);
    try {
        if (!FileExists(textPath)) return;
    } catch (const std::runtime_error& error) {
        // Whether it exists cannot be told: nothing is opened, and the user learns why.
        notifier_.NotifyUtf8(error.what(), WideToUtf8(L"エラー"), NotifyKind::Error);
        return;
    }
    OpenWithShell(textPath);
}

void Application::RunOneDialog(const std::function<void()>& run) {
    // The modal loop still dispatches posted commands to the main window, hence the flag.
    if (dialogOpen_) return;
    dialogOpen_ = true;
    const ScopeExit closed([this] { dialogOpen_ = false; });
    run();
}

void Application::OnAboutCommand() {
    RunOneDialog([this] { ShowAboutBox(instance_, window_, paths_); });
}

void Application::OnSettingsCommand() {
    RunOneDialog([this] { OpenSettingsSheet(); });
    // The organisation's folder may have changed with the settings; its files may have anyway.
    organizationKeywords_.CheckNow();
}

void Application::OpenSettingsSheet() {
    SettingsContext context{.instance = instance_,
                            .owner = window_,
                            .settings = settings_,
                            .notifier = notifier_,
                            .keywordEncryption = keywordEncryption_,
                            .replaceEncryption = replaceEncryption_,
                            .replacements = replacements_,
                            .history = history_,
                            .textWindow = textWindow_,
                            .voiceNames = speech_.player ? speech_.player->VoiceNames() : std::vector<std::wstring>{}};
    OpenSettings(context);
}

}  // namespace veltrano
