// The clipboard-window and tray pages in a real modeless sheet, built from the program's own
// templates: what they show, what counts as the user's change, and what Apply stores.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "settingsdialog/settings_sheet.h"
#include "support/settings_page_host.h"

namespace veltrano {
namespace {

class SettingsPagesTest : public test::SettingsPageHost {
protected:
    void Apply() const { PropSheet_Apply(sheet); }
    static std::wstring FieldText(HWND page, int id) {
        wchar_t text[64] = {};
        ::GetDlgItemTextW(page, id, text, 64);
        return text;
    }
};

// Where a control's text, in the control's own font, is wider (or, wrapped, taller) than the
// control leaves it: check boxes and radio buttons less their box. Empty when all fits.
std::vector<std::string> CutTexts(HWND page) {
    std::vector<std::string> cut;
    for (HWND control = ::GetWindow(page, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        wchar_t text[256] = {};
        ::GetClassNameW(control, className, static_cast<int>(std::size(className)));
        const int length = ::GetWindowTextW(control, text, static_cast<int>(std::size(text)));
        const bool button = ::lstrcmpiW(className, L"Button") == 0;
        if (length == 0 || (!button && ::lstrcmpiW(className, L"Static") != 0)) continue;
        RECT room{};
        ::GetClientRect(control, &room);
        const LONG type = ::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
        const bool hasBox = button && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                                       type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE);
        // The box, and the gap the button leaves after it.
        if (hasBox) room.right -= ::GetSystemMetrics(SM_CXMENUCHECK) + ::GetSystemMetrics(SM_CXEDGE) * 2;
        const HDC dc = ::GetDC(control);
        const HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        // A text wraps where its control has room for more than one line (a static, a multi-line button).
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        const bool wraps = (!button || (::GetWindowLongW(control, GWL_STYLE) & BS_MULTILINE)) &&
                           room.bottom >= 2 * metrics.tmHeight;
        RECT needed = room;
        ::DrawTextW(dc, text, length, &needed, DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        ::SelectObject(dc, oldFont);
        ::ReleaseDC(control, dc);
        if (needed.right > room.right || needed.bottom > room.bottom) {
            cut.push_back(WideToUtf8(text) + " (id " + std::to_string(::GetDlgCtrlID(control)) + "): needs " +
                          std::to_string(needed.right) + "x" + std::to_string(needed.bottom) + ", has " +
                          std::to_string(room.right) + "x" + std::to_string(room.bottom));
        }
    }
    return cut;
}

TEST_F(SettingsPagesTest, EveryTextOfEveryPageFitsItsControl) {
    SettingsPages pages(context);
    for (SettingsPage* pageObject : pages.All()) {
        const HWND window = Open(*pageObject);
        ASSERT_NE(window, nullptr);
        wchar_t title[32] = {};
        ::GetWindowTextW(window, title, static_cast<int>(std::size(title)));
        EXPECT_EQ(CutTexts(window), std::vector<std::string>{}) << "page " << WideToUtf8(title);
        ::DestroyWindow(sheet);
        sheet = nullptr;
    }
}

TEST_F(SettingsPagesTest, BasicPageOffersThePlayersVoicesAndStoresTheOneShown) {
    context.voiceNames = {L"Haruka", L"VOICEVOX: A(X)"};
    data.settings.Ini().WriteString(section::kNotify, L"VoiceName", L"voicevox: a(x)");
    data.settings.Ini().WriteString(section::kNotify, L"VoiceVolume", L"150");
    BasicPage basicPage(context);
    const HWND window = Open(basicPage);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::SendDlgItemMessageW(window, 3004, CB_GETCURSEL, 0, 0), 1) << "the name is found whatever its case";
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, 3004))) << "balloons only: no voice";
    const HWND volume = ::GetDlgItem(window, 3005);
    EXPECT_EQ(::SendMessageW(volume, TBM_GETPOS, 0, 0), 100) << "a stored 150 shows as 100";
    ::SendMessageW(volume, TBM_SETPOS, TRUE, 98);
    ::SendMessageW(volume, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(::SendMessageW(volume, TBM_GETPOS, 0, 0), 100);
    EXPECT_TRUE(ApplyEnabled()) << "a wheel turn is the user's change";

    ::SendDlgItemMessageW(window, 3003, CB_SETCURSEL, 3, 0);
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(3003, CBN_SELCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(window, 3003)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(window, 3004)));
    PropSheet_Apply(sheet);
    EXPECT_EQ(StoredText(section::kNotify, L"NotifyMode"), L"3");
    EXPECT_EQ(StoredText(section::kNotify, L"VoiceName"), L"VOICEVOX: A(X)");
    EXPECT_EQ(StoredText(section::kNotify, L"VoiceVolume"), L"100");
}

TEST_F(SettingsPagesTest, BasicPageShowsTheFirstVoiceWhenTheStoredOneIsGone) {
    context.voiceNames = {L"Haruka", L"Ichiro"};
    data.settings.Ini().WriteString(section::kNotify, L"VoiceName", L"Ayumi");
    BasicPage basicPage(context);
    const HWND window = Open(basicPage);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::SendDlgItemMessageW(window, 3004, CB_GETCURSEL, 0, 0), 0);
    PropSheet_Apply(sheet);
    EXPECT_EQ(StoredText(section::kNotify, L"VoiceName"), L"Haruka");
}

TEST_F(SettingsPagesTest, TrayPageListsTheFiveActionsSelectsTheStoredOnesAndStoresTheChoice) {
    data.settings.SetTrayClick(TrayButton::Left, TrayAction::HistoryMenu);
    data.settings.Ini().WriteInt(section::kTrayIcon, L"MiddleClick", 7);
    TrayPage trayPage(context);
    const HWND window = Open(trayPage);
    ASSERT_NE(window, nullptr);

    const std::vector<std::wstring> texts = {L"割り当て無し", L"メインメニュー表示", L"クリップボード手動置換メニュー表示",
                                             L"クリップボード履歴メニュー表示", L"登録コピーテキストメニュー表示"};
    for (const int id : {8001, 8002, 8003, 8004}) {
        const HWND list = ::GetDlgItem(window, id);
        ASSERT_EQ(::SendMessageW(list, CB_GETCOUNT, 0, 0), 5) << id;
        for (size_t i = 0; i < texts.size(); ++i) {
            wchar_t text[64] = {};
            ::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(text, texts[i]) << id << L" " << i;
        }
    }
    const auto selected = [&](int id) { return ::SendDlgItemMessageW(window, id, CB_GETCURSEL, 0, 0); };
    EXPECT_EQ(selected(8001), 3);
    EXPECT_EQ(selected(8002), 1) << "default";
    EXPECT_EQ(selected(8003), 0) << "a stored 7 is no action";
    EXPECT_EQ(selected(8004), 4) << "default";
    EXPECT_FALSE(ApplyEnabled()) << "filling the lists is no change";

    ::SendDlgItemMessageW(window, 8003, CB_SETCURSEL, 2, 0);
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(8003, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, 8003)));
    EXPECT_TRUE(ApplyEnabled());
    Apply();
    EXPECT_EQ(StoredText(section::kTrayIcon, L"LeftClick"), L"3");
    EXPECT_EQ(StoredText(section::kTrayIcon, L"RightClick"), L"1");
    EXPECT_EQ(StoredText(section::kTrayIcon, L"MiddleClick"), L"2");
    EXPECT_EQ(StoredText(section::kTrayIcon, L"LeftRightClick"), L"4");
}

TEST_F(SettingsPagesTest, TextWindowPageFollowsTheWindowQuietlyAndApplyStoresWhatWasTyped) {
    data.settings.Write(setting::kUseClipboardTextWindow, true);
    data.settings.Write(setting::kClipboardTextWindowResizable, false);
    data.settings.Write(setting::kClipboardTextWindowTouchable, true);
    data.settings.Write(setting::kClipboardTextWindowPosX, -300);
    data.settings.Write(setting::kClipboardTextWindowWidth, 20000);
    ASSERT_TRUE(textWindow.ShowTextWindow(nullptr));
    TextWindowPage textWindowPage(context);
    const HWND window = Open(textWindowPage);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(FieldText(window, 7200), L"-300");
    EXPECT_EQ(FieldText(window, 7202), L"10000");
    EXPECT_EQ(FieldText(window, 7204), L"200") << "default";
    EXPECT_EQ(FieldText(window, 7205), L"6") << "default";
    EXPECT_EQ(::IsDlgButtonChecked(window, 7100), BST_CHECKED);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(window, 7102))) << "the fixed window may take the mouse";
    EXPECT_FALSE(ApplyEnabled());

    ::SetWindowPos(textWindow.Handle(), nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(FieldText(window, 7200), L"40");
    EXPECT_EQ(FieldText(window, 7201), L"50");
    EXPECT_FALSE(ApplyEnabled()) << "the window's own move is no change of the user";

    ::SendDlgItemMessageW(window, 7101, BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, 7102))) << "the movable window always takes the mouse";
    EXPECT_EQ(::IsDlgButtonChecked(window, 7102), BST_CHECKED) << "disabled, it keeps its tick";
    EXPECT_TRUE(ApplyEnabled());
    ::SetDlgItemTextW(window, 7200, L"-120");
    ::SetDlgItemTextW(window, 7201, L"80");
    ::SetDlgItemTextW(window, 7202, L"300");
    ::SetDlgItemTextW(window, 7203, L"150");
    ::SetDlgItemTextW(window, 7204, L"90");
    ::SetDlgItemTextW(window, 7205, L"12");
    Apply();

    const struct {
        const wchar_t* key;
        const wchar_t* value;
    } stored[] = {{L"ClipboardTextWindowPosX", L"-120"},       {L"ClipboardTextWindowPosY", L"80"},
                  {L"ClipboardTextWindowWidth", L"300"},       {L"ClipboardTextWindowHeight", L"150"},
                  {L"ClipboardTextWindowOpacity", L"90"},      {L"ClipboardTextWindowBorderWidth", L"12"},
                  {L"ClipboardTextWindowResizable", L"true"}, {L"ClipboardTextWindowTouchable", L"true"}};
    for (const auto& [key, value] : stored) EXPECT_EQ(StoredText(section::kClipboardTextWindow, key), value) << key;
    ASSERT_TRUE(textWindow.Exists()) << "made anew with the stored values";
    RECT bounds{};
    ::GetWindowRect(textWindow.Handle(), &bounds);
    EXPECT_EQ(bounds.left, -120);
    EXPECT_EQ(bounds.top, 80);
    EXPECT_EQ(bounds.right - bounds.left, 300);
    EXPECT_EQ(bounds.bottom - bounds.top, 150);
    EXPECT_EQ(FieldText(window, 7200), L"-120");

    // Switched off, the window goes and is not made again.
    ::SendDlgItemMessageW(window, 7100, BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, 7200)));
    Apply();
    EXPECT_FALSE(textWindow.Exists());
    EXPECT_EQ(StoredText(section::kClipboardTextWindow, L"UseClipboardTextWindow"), L"false");
}

}  // namespace
}  // namespace veltrano
