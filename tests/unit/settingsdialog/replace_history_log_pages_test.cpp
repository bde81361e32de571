// The Replace, History, Log and Protect pages as real windows in a modeless property sheet, with the
// real stores behind them: the templates, the enabling, refused and accepted applies.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "resource.h"
#include "settingsdialog/history_page.h"
#include "settingsdialog/log_page.h"
#include "settingsdialog/protect_page.h"
#include "settingsdialog/replace_page.h"
#include "support/settings_page_host.h"

namespace veltrano {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

struct Control {
    int id;
    const wchar_t* className;
    const wchar_t* text;
};

// What an apply did: whether the sheet accepted it, the error boxes it showed, where the focus went.
struct ApplyResult {
    bool accepted = false;
    std::vector<std::wstring> errors;
    int focusId = 0;
};

std::wstring TextOf(HWND window) {
    std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1);
    ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

class FeaturePagesTest : public test::SettingsPageHost {
protected:
    void Store(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(data.settings.Ini().WriteString(section, key, value));
    }
    // Shows `pageObject` alone in a modeless sheet; the page is initialized on return.
    void Show(SettingsPage& pageObject) { ASSERT_NE(Open(pageObject), nullptr); }

    HWND Item(int id) const { return ::GetDlgItem(page, id); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool Ticked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int id) const { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Type(int id, const wchar_t* text) const { ::SetWindowTextW(Item(id), text); }

    void ExpectControls(const std::vector<Control>& controls) const {
        for (const Control& control : controls) {
            const HWND item = Item(control.id);
            ASSERT_NE(item, nullptr) << "id " << control.id;
            EXPECT_EQ(ClassOf(item), control.className) << "id " << control.id;
            EXPECT_EQ(TextOf(item), control.text) << "id " << control.id;
        }
    }

    // Applies the sheet; each error box is read and closed by a helper thread while the
    // page waits in it.
    ApplyResult Apply() {
        ApplyResult result;
        std::atomic<bool> done = false;
        std::thread closer([&] {
            HWND handled = nullptr;
            while (!done) {
                const HWND box = ::FindWindowW(L"#32770", L"入力エラー");
                if (box && box != handled && ::IsWindowVisible(box)) {
                    result.errors.push_back(TextOf(::GetDlgItem(box, kMessageBoxTextId)));
                    handled = box;
                    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
        result.accepted = PropSheet_Apply(sheet) != FALSE;
        done = true;
        closer.join();
        result.focusId = ::GetDlgCtrlID(::GetFocus());
        return result;
    }

};

const std::wstring kIntervalMessage = L"間隔は 10～60000 ミリ秒の範囲で入力して下さい。";
const std::wstring kCountMessage = L"回数は 1～2147483647 回の範囲で入力して下さい。";

TEST_F(FeaturePagesTest, ReplacePageShowsItsControlsFilledFromTheSettings) {
    const wchar_t* section = section::kClipboardReplace;
    Store(section, L"UseClipboardReplace", L"true");
    Store(section, L"PreventConsecutiveAutoReplace", L"true");
    Store(section, L"NotifyAfterManualReplace", L"false");
    Store(section, L"ReplaceContinuousIntervalMs", L"5");
    Store(section, L"ReplaceContinuousCount", L"-4");
    ReplacePage replacePage(context);
    Show(replacePage);

    ExpectControls({{4001, L"Button", L"クリップボード置換を有効にする"},
                    {4002, L"Button", L"自動置換が有効の状態でアプリを起動する"},
                    {4003, L"Button", L"置換定義ファイルを暗号化する"},
                    {4401, L"Button", L"連続自動置換"},
                    {4004, L"Button", L"連続自動置換を禁止する"},
                    {4301, L"Static", L"判定間隔 (ミリ秒)："},
                    {4101, L"Edit", L"10"},
                    {4201, L"msctls_updown32", L""},
                    {4302, L"Static", L"許容回数："},
                    {4102, L"Edit", L"1"},
                    {4202, L"msctls_updown32", L""},
                    {4402, L"Button", L"通知"},
                    {4005, L"Button", L"手動置換後に通知する"},
                    {4006, L"Button", L"自動置換後に通知する"}});
    EXPECT_TRUE(Ticked(4001));
    EXPECT_FALSE(Ticked(4002));
    EXPECT_TRUE(Ticked(4004));
    EXPECT_FALSE(Ticked(4005));
    EXPECT_TRUE(Ticked(4006)) << "default";
    for (const int field : {4101, 4102}) {
        EXPECT_EQ(::SendMessageW(Item(field), EM_GETLIMITTEXT, 0, 0), 6);
        EXPECT_TRUE(::GetWindowLongPtrW(Item(field), GWL_STYLE) & ES_NUMBER);
    }
    EXPECT_EQ(reinterpret_cast<HWND>(::SendMessageW(Item(4201), UDM_GETBUDDY, 0, 0)), Item(4101));
    EXPECT_EQ(reinterpret_cast<HWND>(::SendMessageW(Item(4202), UDM_GETBUDDY, 0, 0)), Item(4102));
    int low = 0;
    int high = 0;
    ::SendMessageW(Item(4202), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 2147483647);
    for (const int id : {4002, 4003, 4401, 4004, 4402, 4005, 4006}) EXPECT_TRUE(Enabled(id)) << id;
    for (const int id : {4301, 4101, 4201, 4302, 4102, 4202}) EXPECT_FALSE(Enabled(id)) << "forbidden: " << id;
    EXPECT_FALSE(ApplyEnabled()) << "filling the fields is no user change";
}

TEST_F(FeaturePagesTest, ReplacePageSwitchesFollowClicksAndEachClickEnablesApply) {
    Store(section::kClipboardReplace, L"UseClipboardReplace", L"false");
    ReplacePage replacePage(context);
    Show(replacePage);
    ASSERT_FALSE(Ticked(4001));
    for (const int id : {4002, 4003, 4401, 4004, 4301, 4101, 4201, 4302, 4102, 4202, 4402, 4005, 4006})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(ApplyEnabled());

    Click(4001);
    EXPECT_TRUE(ApplyEnabled());
    for (const int id : {4002, 4003, 4401, 4004, 4301, 4101, 4201, 4302, 4102, 4202, 4402, 4005, 4006})
        EXPECT_TRUE(Enabled(id)) << id;

    Click(4004);
    for (const int id : {4301, 4101, 4201, 4302, 4102, 4202}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(4401));
    Click(4004);
    EXPECT_TRUE(Enabled(4101));
}

TEST_F(FeaturePagesTest, ReplacePageRefusesBadNumbersStoringNothingThenStoresEverything) {
    ReplacePage replacePage(context);
    Show(replacePage);
    ASSERT_TRUE(Ticked(4001)) << "default";
    Click(4003);
    Type(4101, L"9");
    ApplyResult result = Apply();
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.errors, std::vector<std::wstring>{kIntervalMessage});
    EXPECT_EQ(result.focusId, 4101);
    EXPECT_FALSE(std::filesystem::exists(data.paths.SettingsFile())) << "nothing of the page is stored";

    Type(4101, L"");
    EXPECT_EQ(Apply().errors, std::vector<std::wstring>{kIntervalMessage});

    Type(4101, L"60000");
    Type(4102, L"0");
    Click(4004);
    ASSERT_FALSE(Enabled(4102));
    result = Apply();
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.errors, std::vector<std::wstring>{kCountMessage}) << "checked although disabled";
    EXPECT_FALSE(std::filesystem::exists(data.paths.SettingsFile()));

    Type(4102, L"7");
    result = Apply();
    EXPECT_TRUE(result.accepted);
    EXPECT_TRUE(result.errors.empty());
    const wchar_t* section = section::kClipboardReplace;
    EXPECT_EQ(StoredText(section, L"UseClipboardReplace"), L"true");
    EXPECT_EQ(StoredText(section, L"InitialAutoReplaceEnable"), L"false");
    EXPECT_EQ(StoredText(section, L"PreventConsecutiveAutoReplace"), L"true");
    EXPECT_EQ(StoredText(section, L"NotifyAfterManualReplace"), L"true");
    EXPECT_EQ(StoredText(section, L"NotifyAfterAutoReplace"), L"true");
    EXPECT_EQ(StoredText(section, L"ReplaceContinuousIntervalMs"), L"60000");
    EXPECT_EQ(StoredText(section, L"ReplaceContinuousCount"), L"7");
    EXPECT_TRUE(data.settings.EncryptReplaceFile()) << "through the encryption switch";
    EXPECT_TRUE(std::filesystem::exists(replacements.DefinitionFilePath(DefinitionKind::Wildcard, true)));
}

TEST_F(FeaturePagesTest, HistoryPageRefusesTenThousandAndStoresOne) {
    Store(section::kClipboardHistory, L"UseClipboardHistory", L"false");
    Store(section::kClipboardHistory, L"ClipboardHistoryMaxCount", L"20000");
    HistoryPage historyPage(context);
    Show(historyPage);
    ExpectControls({{5001, L"Button", L"クリップボード履歴を有効にする"},
                    {5002, L"Button", L"履歴メニュー内の表示順を上下逆にする"},
                    {5003, L"Static", L"履歴最大件数:"},
                    {5004, L"Edit", L"9999"},
                    {5005, L"msctls_updown32", L""}});
    ASSERT_FALSE(Ticked(5001));
    for (const int id : {5002, 5003, 5004, 5005}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(ApplyEnabled());
    Click(5001);
    for (const int id : {5002, 5003, 5004, 5005}) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(ApplyEnabled());

    Type(5004, L"10000");
    ApplyResult result = Apply();
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.errors, std::vector<std::wstring>{L"履歴件数は 1～9999 の範囲で入力して下さい。"});
    EXPECT_EQ(result.focusId, 5004);
    EXPECT_EQ(StoredText(section::kClipboardHistory, L"ClipboardHistoryMaxCount"), L"20000");

    Type(5004, L"1");
    EXPECT_TRUE(Apply().accepted);
    EXPECT_EQ(StoredText(section::kClipboardHistory, L"ClipboardHistoryMaxCount"), L"1");
    EXPECT_TRUE(data.settings.UseClipboardHistory());
    EXPECT_FALSE(data.settings.ClipboardHistoryReverseOrder());
}

TEST_F(FeaturePagesTest, LogPageKeepsTheCategoriesWhileDisabledAndStoresAllNine) {
    Store(section::kLog, L"UseLog", L"true");
    Store(section::kLog, L"LogAutoReplace", L"false");
    LogPage logPage(context);
    Show(logPage);
    ExpectControls({{6002, L"Button", L"ログ機能を有効にする"},
                    {6001, L"Button", L"ログ対象"},
                    {6003, L"Button", L"キーワード監視"},
                    {6004, L"Button", L"手動置換"},
                    {6005, L"Button", L"自動置換"},
                    {6006, L"Button", L"クリップボード履歴"},
                    {6007, L"Button", L"コピーテキスト登録"},
                    {6008, L"Button", L"その他"},
                    {6009, L"Button", L"ログにクリップボードの内容を書かない（文字数とハッシュのみ）"},
                    {6010, L"Button", L"Windows のイベントログにも記録する（内容は書かない）"}});
    const std::vector<int> categories{6001, 6003, 6004, 6005, 6006, 6007, 6008, 6009};
    for (const int id : categories) EXPECT_TRUE(Enabled(id)) << id;

    Click(6002);
    EXPECT_TRUE(ApplyEnabled());
    for (const int id : categories) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(6010)) << "the event log is its own switch";
    Click(6010);
    EXPECT_TRUE(Ticked(6003));
    EXPECT_FALSE(Ticked(6005));

    EXPECT_TRUE(Apply().accepted);
    EXPECT_FALSE(data.settings.UseLog());
    EXPECT_TRUE(data.settings.LogKeywordSearch());
    EXPECT_TRUE(data.settings.LogManualReplace());
    EXPECT_EQ(StoredText(section::kLog, L"LogAutoReplace"), L"false");
    for (const wchar_t* key : {L"LogClipboardHistory", L"LogClipboardFavorites", L"LogOther"})
        EXPECT_EQ(StoredText(section::kLog, key), L"true") << "stored although disabled";
    EXPECT_EQ(StoredText(section::kLog, L"LogMaskSecrets"), L"false");
    EXPECT_TRUE(data.settings.UseEventLog());
}

TEST_F(FeaturePagesTest, ProtectPageGreysEachLabelRuleWithItsDetectorRefusesBadSecondsAndStoresEverything) {
    Store(section::kDetect, L"DetectPaymentCard", L"false");
    Store(section::kDetect, L"DetectMyNumber", L"true");
    Store(section::kNotify, L"ClearDetectedClipboardSeconds", L"30");
    Store(section::kClipboard, L"IgnoredApplications", L"KeePass.exe");
    ProtectPage protectPage(context);
    Show(protectPage);
    ExpectControls({{IDC_PROTECT_DETECTORS_GROUP, L"Button", L"番号の検出"},
                    {IDC_PROTECT_PAYMENT_CARD, L"Button", L"支払カード番号"},
                    {IDC_PROTECT_PAYMENT_CARD_LABEL, L"Button", L"ラベルが近くにある場合のみ"},
                    {IDC_PROTECT_MY_NUMBER, L"Button", L"個人番号"},
                    {IDC_PROTECT_MY_NUMBER_LABEL, L"Button", L"ラベルが近くにある場合のみ"},
                    {IDC_PROTECT_CORPORATE_NUMBER, L"Button", L"法人番号"},
                    {IDC_PROTECT_CORPORATE_NUMBER_LABEL, L"Button", L"ラベルが近くにある場合のみ"},
                    {IDC_PROTECT_LABELLED_KINDS_NOTE, L"Static", L"次の番号は、ラベルが近くにある場合のみ検出します"},
                    {IDC_PROTECT_PASSPORT_NUMBER, L"Button", L"旅券番号"},
                    {IDC_PROTECT_DRIVER_LICENSE_NUMBER, L"Button", L"運転免許証番号"},
                    {IDC_PROTECT_RESIDENCE_CARD_NUMBER, L"Button", L"在留カード番号"},
                    {IDC_PROTECT_BASIC_PENSION_NUMBER, L"Button", L"基礎年金番号"},
                    {IDC_PROTECT_BANK_ACCOUNT_NUMBER, L"Button", L"口座番号"},
                    {IDC_PROTECT_CREDENTIALS_GROUP, L"Button", L"認証情報の検出"},
                    {IDC_PROTECT_CREDENTIALS, L"Button", L"秘密鍵・トークン・パスワードハッシュなど"},
                    {IDC_PROTECT_PASSWORD_ASSIGNMENTS, L"Button", L"「パスワード：…」のように項目名のついた値"},
                    {IDC_PROTECT_MASK_NUMBERS, L"Button", L"検出した番号を末尾4桁以外伏せて表示する"},
                    {IDC_PROTECT_CLEAR_SECONDS_LABEL, L"Static", L"検出したクリップボードを消去するまでの秒数（0：消去しない）"},
                    {IDC_PROTECT_CLEAR_SECONDS, L"Edit", L"30"},
                    {IDC_PROTECT_CLEAR_SECONDS_UPDOWN, L"msctls_updown32", L""},
                    {IDC_PROTECT_SHOW_SOURCE, L"Button", L"検出の通知とログにコピー元のプログラム名を含める"},
                    {IDC_PROTECT_IGNORED_APPS_LABEL, L"Static",
                     L"無視するプログラム（; 区切り、例：KeePass.exe;1Password.exe）"},
                    {IDC_PROTECT_IGNORED_APPS, L"Edit", L"KeePass.exe"}});
    EXPECT_FALSE(ApplyEnabled()) << "filling the fields is no user change";
    // The defaults: a label needed for the two national numbers, not for cards.
    EXPECT_FALSE(Ticked(IDC_PROTECT_PAYMENT_CARD_LABEL));
    EXPECT_TRUE(Ticked(IDC_PROTECT_MY_NUMBER_LABEL));
    EXPECT_TRUE(Ticked(IDC_PROTECT_CORPORATE_NUMBER_LABEL));
    EXPECT_FALSE(Enabled(IDC_PROTECT_PAYMENT_CARD_LABEL));
    EXPECT_TRUE(Enabled(IDC_PROTECT_MY_NUMBER_LABEL));
    EXPECT_FALSE(Enabled(IDC_PROTECT_CORPORATE_NUMBER_LABEL));
    EXPECT_TRUE(Ticked(IDC_PROTECT_MASK_NUMBERS));
    EXPECT_TRUE(Ticked(IDC_PROTECT_CREDENTIALS) && Ticked(IDC_PROTECT_PASSWORD_ASSIGNMENTS)) << "guarded out of the box";
    for (const int labelled : {IDC_PROTECT_PASSPORT_NUMBER, IDC_PROTECT_DRIVER_LICENSE_NUMBER, IDC_PROTECT_RESIDENCE_CARD_NUMBER,
                               IDC_PROTECT_BASIC_PENSION_NUMBER, IDC_PROTECT_BANK_ACCOUNT_NUMBER}) {
        EXPECT_TRUE(Ticked(labelled)) << labelled << " is guarded out of the box";
    }
    Click(IDC_PROTECT_BANK_ACCOUNT_NUMBER);

    Click(IDC_PROTECT_PASSWORD_ASSIGNMENTS);
    Click(IDC_PROTECT_PAYMENT_CARD);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(Enabled(IDC_PROTECT_PAYMENT_CARD_LABEL));
    Click(IDC_PROTECT_PAYMENT_CARD_LABEL);
    Click(IDC_PROTECT_MY_NUMBER);
    EXPECT_FALSE(Enabled(IDC_PROTECT_MY_NUMBER_LABEL));
    Type(IDC_PROTECT_CLEAR_SECONDS, L"3601");
    Click(IDC_PROTECT_SHOW_SOURCE);
    Click(IDC_PROTECT_MASK_NUMBERS);
    Type(IDC_PROTECT_IGNORED_APPS, L"KeePass.exe;1Password.exe");
    const ApplyResult refused = Apply();
    EXPECT_FALSE(refused.accepted);
    EXPECT_EQ(refused.errors, std::vector<std::wstring>{L"消去するまでの秒数は 0～3600 秒の範囲で入力して下さい。"});
    EXPECT_EQ(refused.focusId, IDC_PROTECT_CLEAR_SECONDS);
    EXPECT_FALSE(data.settings.DetectPaymentCard()) << "nothing of the page is stored";

    Type(IDC_PROTECT_CLEAR_SECONDS, L"0");
    EXPECT_TRUE(Apply().accepted);
    EXPECT_EQ(StoredText(section::kNotify, L"ClearDetectedClipboardSeconds"), L"0");
    EXPECT_TRUE(data.settings.ShowSourceApplication());
    EXPECT_FALSE(data.settings.MaskDetectedNumbers());
    EXPECT_EQ(data.settings.IgnoredApplications(), L"KeePass.exe;1Password.exe");
    EXPECT_TRUE(data.settings.DetectPaymentCard());
    EXPECT_TRUE(data.settings.DetectPaymentCardNeedsLabel());
    EXPECT_FALSE(data.settings.DetectMyNumber());
    EXPECT_EQ(StoredText(section::kDetect, L"DetectMyNumberNeedsLabel"), L"true") << "stored although greyed";
    EXPECT_EQ(StoredText(section::kDetect, L"DetectCorporateNumber"), L"false");
    EXPECT_EQ(StoredText(section::kDetect, L"DetectCorporateNumberNeedsLabel"), L"true");
    EXPECT_EQ(StoredText(section::kDetect, L"DetectCredentials"), L"true");
    EXPECT_EQ(StoredText(section::kDetect, L"DetectPasswordAssignments"), L"false");
    EXPECT_EQ(StoredText(section::kDetect, L"DetectBankAccountNumber"), L"false");
    EXPECT_EQ(StoredText(section::kDetect, L"DetectPassportNumber"), L"true");
}

}  // namespace
}  // namespace veltrano
