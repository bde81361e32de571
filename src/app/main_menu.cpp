#include "app/main_menu.h"

#include "resource.h"

namespace veltrano {
namespace {

void SetChecked(HMENU menu, UINT id, bool checked) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = checked ? MFS_CHECKED : MFS_UNCHECKED;
    ::SetMenuItemInfoW(menu, id, FALSE, &info);
}

void SetGrayed(HMENU menu, UINT id, bool grayed) {
    ::EnableMenuItem(menu, id, MF_BYCOMMAND | (grayed ? MF_GRAYED : MF_ENABLED));
}

}  // namespace

MainMenuState BuildMainMenuState(const Settings& settings, const MainMenuFacts& facts) {
    MainMenuState state;
    state.keywordFileEncrypted = facts.keywordFilesSealed;
    state.replaceFileEncrypted = facts.replaceFilesSealed;
    state.keywordEncryptionHeld = settings.HeldByPolicy(setting::kEncryptKeywordFile);
    state.replaceEncryptionHeld = settings.HeldByPolicy(setting::kEncryptReplaceFile);
    state.textWindowModeHeld = settings.HeldByPolicy(setting::kUseClipboardTextWindow) ||
                               settings.HeldByPolicy(setting::kClipboardTextWindowResizable) ||
                               settings.HeldByPolicy(setting::kClipboardTextWindowTouchable);
    if (!settings.UseClipboardTextWindow()) {
        state.textWindowRadioItem = IDM_TEXT_WINDOW_HIDE;
    } else if (settings.ClipboardTextWindowResizable()) {
        state.textWindowRadioItem = IDM_TEXT_WINDOW_MOVABLE;
    } else if (settings.ClipboardTextWindowTouchable()) {
        state.textWindowRadioItem = IDM_TEXT_WINDOW_FIXED;
    } else {
        state.textWindowRadioItem = IDM_TEXT_WINDOW_CLICK_THROUGH;
    }
    state.moveTextWindowGrayed = state.textWindowRadioItem == IDM_TEXT_WINDOW_HIDE;
    state.showAutoReplaceItem = settings.UseClipboardReplace();
    state.autoReplaceChecked = state.showAutoReplaceItem && facts.autoReplaceEnabled;
    state.exitAllowed = settings.AllowExit();
    return state;
}

void ApplyMainMenuState(HMENU menu, const MainMenuState& state) {
    SetChecked(menu, IDM_ENCRYPT_KEYWORD_FILE, state.keywordFileEncrypted);
    SetChecked(menu, IDM_ENCRYPT_REPLACE_FILE, state.replaceFileEncrypted);
    SetGrayed(menu, IDM_ENCRYPT_KEYWORD_FILE, state.keywordEncryptionHeld);
    SetGrayed(menu, IDM_ENCRYPT_REPLACE_FILE, state.replaceEncryptionHeld);
    ::CheckMenuRadioItem(menu, IDM_TEXT_WINDOW_MOVABLE, IDM_TEXT_WINDOW_HIDE, state.textWindowRadioItem, MF_BYCOMMAND);
    for (const UINT mode : {IDM_TEXT_WINDOW_MOVABLE, IDM_TEXT_WINDOW_FIXED, IDM_TEXT_WINDOW_CLICK_THROUGH, IDM_TEXT_WINDOW_HIDE}) {
        SetGrayed(menu, mode, state.textWindowModeHeld);
    }
    SetGrayed(menu, IDM_TEXT_WINDOW_MOVE_TO_MOUSE, state.moveTextWindowGrayed);
    if (!state.exitAllowed) {
        ::ModifyMenuW(menu, IDM_EXIT, MF_BYCOMMAND | MF_STRING | MF_GRAYED, IDM_EXIT, L"終了(&X)（組織のポリシーで無効）");
    }
    if (state.showAutoReplaceItem) {
        SetChecked(menu, IDM_AUTO_REPLACE, state.autoReplaceChecked);
    } else {
        ::DeleteMenu(menu, IDM_AUTO_REPLACE, MF_BYCOMMAND);
    }
}

}  // namespace veltrano
