#include "app/main_menu.h"

#include <gtest/gtest.h>

#include "resource.h"
#include "support/program_data.h"

namespace veltrano {
namespace {

class MainMenuTest : public ::testing::Test, protected test::ProgramData {
protected:
    void Store(const wchar_t* key, bool value) {
        ASSERT_TRUE(settings.Ini().WriteBool(section::kClipboardTextWindow, key, value));
    }
};

TEST_F(MainMenuTest, TextWindowRadioFollowsTheWindowSettings) {
    EXPECT_EQ(BuildMainMenuState(settings, {}).textWindowRadioItem, UINT(IDM_TEXT_WINDOW_HIDE));
    EXPECT_TRUE(BuildMainMenuState(settings, {}).moveTextWindowGrayed);

    Store(L"UseClipboardTextWindow", true);
    EXPECT_EQ(BuildMainMenuState(settings, {}).textWindowRadioItem, UINT(IDM_TEXT_WINDOW_MOVABLE));
    EXPECT_FALSE(BuildMainMenuState(settings, {}).moveTextWindowGrayed);
    Store(L"ClipboardTextWindowResizable", false);
    EXPECT_EQ(BuildMainMenuState(settings, {}).textWindowRadioItem, UINT(IDM_TEXT_WINDOW_FIXED));
    Store(L"ClipboardTextWindowTouchable", false);
    EXPECT_EQ(BuildMainMenuState(settings, {}).textWindowRadioItem, UINT(IDM_TEXT_WINDOW_CLICK_THROUGH));
    Store(L"ClipboardTextWindowResizable", true);
    EXPECT_EQ(BuildMainMenuState(settings, {}).textWindowRadioItem, UINT(IDM_TEXT_WINDOW_MOVABLE));
}

TEST_F(MainMenuTest, ChecksFollowTheAutomaticReplacementSwitch) {
    MainMenuState state = BuildMainMenuState(settings, {.autoReplaceEnabled = true});
    EXPECT_TRUE(state.showAutoReplaceItem);
    EXPECT_TRUE(state.autoReplaceChecked);
    EXPECT_FALSE(BuildMainMenuState(settings, {}).autoReplaceChecked);

    settings.Ini().WriteBool(section::kClipboardReplace, L"UseClipboardReplace", false);
    state = BuildMainMenuState(settings, {.autoReplaceEnabled = true});
    EXPECT_FALSE(state.showAutoReplaceItem);
    EXPECT_FALSE(state.autoReplaceChecked);
}

// The state lands on a real menu holding the items of the main menu.
TEST(ApplyMainMenuState, SetsMarksGreysAndRemovesItems) {
    HMENU menu = ::CreatePopupMenu();
    for (UINT id : {IDM_ENCRYPT_KEYWORD_FILE, IDM_ENCRYPT_REPLACE_FILE, IDM_TEXT_WINDOW_MOVABLE, IDM_TEXT_WINDOW_FIXED,
                    IDM_TEXT_WINDOW_CLICK_THROUGH, IDM_TEXT_WINDOW_HIDE, IDM_TEXT_WINDOW_MOVE_TO_MOUSE, IDM_AUTO_REPLACE, IDM_EXIT}) {
        ::AppendMenuW(menu, MF_STRING, id, L"item");
    }
    MainMenuState state;
    state.keywordFileEncrypted = true;
    state.textWindowRadioItem = IDM_TEXT_WINDOW_HIDE;
    state.moveTextWindowGrayed = true;
    state.showAutoReplaceItem = false;
    state.keywordEncryptionHeld = true;
    state.textWindowModeHeld = true;
    state.exitAllowed = false;
    ApplyMainMenuState(menu, state);

    EXPECT_TRUE(::GetMenuState(menu, IDM_ENCRYPT_KEYWORD_FILE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(::GetMenuState(menu, IDM_ENCRYPT_KEYWORD_FILE, MF_BYCOMMAND) & MF_GRAYED) << "held by a policy";
    EXPECT_FALSE(::GetMenuState(menu, IDM_ENCRYPT_REPLACE_FILE, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED));
    EXPECT_TRUE(::GetMenuState(menu, IDM_TEXT_WINDOW_FIXED, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(menu, IDM_TEXT_WINDOW_HIDE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(::GetMenuState(menu, IDM_TEXT_WINDOW_MOVABLE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(::GetMenuState(menu, IDM_TEXT_WINDOW_MOVE_TO_MOUSE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(::GetMenuState(menu, IDM_AUTO_REPLACE, MF_BYCOMMAND), UINT(-1)) << "the item is removed";
    wchar_t exitText[64] = L"";
    ::GetMenuStringW(menu, IDM_EXIT, exitText, 64, MF_BYCOMMAND);
    EXPECT_TRUE(::GetMenuState(menu, IDM_EXIT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_STREQ(exitText, L"終了(&X)（組織のポリシーで無効）");
    ::DestroyMenu(menu);
}

}  // namespace
}  // namespace veltrano
