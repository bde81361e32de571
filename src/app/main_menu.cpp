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

}  // namespace

MainMenuState BuildMainMenuState(const Settings& settings, bool autoReplaceEnabled) {
    MainMenuState state;
    state.keywordFileEncrypted = settings.EncryptKeywordFile();
    state.replaceFileEncrypted = settings.EncryptReplaceFile();
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
    state.autoReplaceChecked = state.showAutoReplaceItem && autoReplaceEnabled;
    return state;
}

void ApplyMainMenuState(HMENU menu, const MainMenuState& state) {
    SetChecked(menu, IDM_ENCRYPT_KEYWORD_FILE, state.keywordFileEncrypted);
    SetChecked(menu, IDM_ENCRYPT_REPLACE_FILE, state.replaceFileEncrypted);
    ::CheckMenuRadioItem(menu, IDM_TEXT_WINDOW_MOVABLE, IDM_TEXT_WINDOW_HIDE, state.textWindowRadioItem, MF_BYCOMMAND);
    ::EnableMenuItem(menu, IDM_TEXT_WINDOW_MOVE_TO_MOUSE, MF_BYCOMMAND | (state.moveTextWindowGrayed ? MF_GRAYED : MF_ENABLED));
    if (state.showAutoReplaceItem) {
        SetChecked(menu, IDM_AUTO_REPLACE, state.autoReplaceChecked);
    } else {
        ::DeleteMenu(menu, IDM_AUTO_REPLACE, MF_BYCOMMAND);
    }
}

}  // namespace veltrano
