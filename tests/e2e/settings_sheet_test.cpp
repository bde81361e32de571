// The settings sheet as the user meets it: its tabs and place, and each page's rules applied.

#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/program_folder.h"
#include "driver/property_sheets.h"
#include "driver/window_queries.h"
#include "driver/x11_desktop.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr WORD kAboutCommand = 40002;
constexpr WORD kSettingsCommand = 40004;
constexpr wchar_t kSheetCaption[] = L"設定 - Veltrano";
enum PageIndex { kBasic, kReplace, kHistory, kLog, kTextWindow, kTray, kProtect };

class SettingsSheet : public ProgramTest {
protected:
    driver::WindowQuery SheetQuery() const {
        return {.className = driver::kDialogClass, .caption = kSheetCaption, .processId = ProcessId(), .visibleOnly = true};
    }
    HWND OpenSheet() {
        driver::PostCommand(MainWindow(), kSettingsCommand);
        const HWND sheet = driver::WaitForWindow(SheetQuery());
        EXPECT_NE(sheet, nullptr) << "40004 opened no settings sheet";
        return sheet;
    }
    std::wstring Stored(const wchar_t* section, const wchar_t* key) const {
        wchar_t value[256] = L"";
        ::GetPrivateProfileStringW(section, key, L"(missing)", value, 256, SettingsPath().c_str());
        return value;
    }
    bool StoredBecomes(const wchar_t* section, const wchar_t* key, const std::wstring& expected) const {
        return driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return Stored(section, key) == expected; });
    }
    static bool Enabled(HWND parent, int id) { return driver::IsControlEnabled(parent, id); }
    static bool EnabledBecomes(HWND parent, int id, bool expected) {
        return driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return Enabled(parent, id) == expected; });
    }
    // Once Apply greys again every page has written its keys: before, a read from outside may find
    // the file while a later page rewrites it.
    static bool ApplyAll(HWND sheet) {
        driver::ClickControl(sheet, driver::kApplyButtonId);
        return EnabledBecomes(sheet, driver::kApplyButtonId, false);
    }
    std::vector<driver::WindowInfo> VisibleWindows() const {
        return driver::FindTopLevelWindows({.processId = ProcessId(), .visibleOnly = true});
    }
};

TEST_F(SettingsSheet, OpensCentredWithSevenTabsAndKeepsOtherDialogsOut) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(driver::SheetTabNames(sheet),
              (std::vector<std::wstring>{L"基本", L"置換", L"履歴", L"ログ", L"クリップボード表示ウィンドウ", L"トレイ操作",
                                         L"保護"}));

    RECT work{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    RECT bounds{};
    ::GetWindowRect(sheet, &bounds);
    EXPECT_EQ(bounds.left, work.left + ((work.right - work.left) - (bounds.right - bounds.left)) / 2);
    EXPECT_EQ(bounds.top, work.top + ((work.bottom - work.top) - (bounds.bottom - bounds.top)) / 2);
    EXPECT_FALSE(Enabled(sheet, driver::kApplyButtonId)) << "nothing changed yet";

    const size_t windowsWithSheet = VisibleWindows().size();
    driver::PostCommand(MainWindow(), kSettingsCommand);
    driver::PostCommand(MainWindow(), kAboutCommand);
    EXPECT_FALSE(driver::PollUntil(1500, [&] { return VisibleWindows().size() > windowsWithSheet; }))
        << "a second sheet or the About box opened over the sheet";

    driver::ClickControl(sheet, IDCANCEL);
    EXPECT_TRUE(driver::WaitForNoWindow(SheetQuery()));
}

TEST_F(SettingsSheet, BasicPageVoiceModeEnablesVoiceAndVolumeAndApplyStoresIt) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    const HWND page = driver::ShowSheetPage(sheet, kBasic);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(driver::ComboItems(page, 3003),
              (std::vector<std::wstring>{L"バルーンのみ", L"メッセージボックスのみ", L"音声のみ", L"音声 ＋ バルーン",
                                         L"音声 ＋ メッセージボックス"}));
    EXPECT_FALSE(Enabled(page, 3004));
    EXPECT_FALSE(Enabled(page, 3005));

    driver::SelectComboItem(page, 3003, 2);
    // The page enables its controls one after the other while this test looks from outside.
    EXPECT_TRUE(EnabledBecomes(page, 3004, true)) << "音声のみ must enable the voice list at once";
    EXPECT_TRUE(EnabledBecomes(page, 3005, true));
    EXPECT_TRUE(EnabledBecomes(sheet, driver::kApplyButtonId, true));
    EXPECT_EQ(Stored(L"Notify", L"NotifyMode"), L"(missing)") << "nothing is stored before Apply";

    ASSERT_TRUE(ApplyAll(sheet));
    EXPECT_EQ(Stored(L"Notify", L"VoiceVolume"), L"60");
    EXPECT_EQ(Stored(L"Notify", L"NotifyMode"), L"2");
    EXPECT_EQ(Stored(L"Notify", L"VoiceName"), L"(missing)") << "Wine offers no voice to store";
    driver::ClickControl(sheet, IDOK);
    EXPECT_TRUE(driver::WaitForNoWindow(SheetQuery()));
}

TEST_F(SettingsSheet, BasicPageEncryptionConvertsTheKeywordFiles) {
    WriteDataText(L"_wildcard_keywords.txt", L"secret*\n");
    WriteDataText(L"_regex_keywords.txt", L"\\d{4}\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    const HWND page = driver::ShowSheetPage(sheet, kBasic);
    driver::ClickControl(page, 3001);
    ASSERT_TRUE(EnabledBecomes(sheet, driver::kApplyButtonId, true));
    driver::ClickControl(sheet, IDOK);
    EXPECT_TRUE(StoredBecomes(L"Keyword", L"EncryptKeywordFile", L"true"));
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] {
        return !driver::FileExists(DataPath(L"_wildcard_keywords.txt")) &&
               driver::FileExists(DataPath(L"_wildcard_keywords.bin")) &&
               driver::FileExists(DataPath(L"_regex_keywords.bin"));
    })) << "the keyword files were not converted";
    EXPECT_EQ(driver::ReadFileBytes(DataPath(L"_wildcard_keywords.bin")).find("secret"), std::string::npos);
}

TEST_F(SettingsSheet, ReplacePageRefusesAnIntervalOf9AndStaysOpen) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    const HWND page = driver::ShowSheetPage(sheet, kReplace);
    driver::SetControlText(::GetDlgItem(page, 4101), L"9");
    ASSERT_TRUE(EnabledBecomes(sheet, driver::kApplyButtonId, true));
    driver::ClickControl(sheet, driver::kApplyButtonId);
    EXPECT_EQ(Utf8(TakeMessageBox(L"入力エラー")), Utf8(L"間隔は 10～60000 ミリ秒の範囲で入力して下さい。"));
    EXPECT_TRUE(::IsWindowVisible(sheet)) << "a refused apply keeps the sheet open";
    EXPECT_EQ(Stored(L"ClipboardReplace", L"ReplaceContinuousIntervalMs"), L"(missing)");
    driver::ClickControl(sheet, IDCANCEL);
    EXPECT_TRUE(driver::WaitForNoWindow(SheetQuery()));
}

TEST_F(SettingsSheet, HistoryPageMaxCountTrimsTheHistoryAtOnce) {
    ASSERT_NO_FATAL_FAILURE(Start());
    for (size_t copied = 1; copied <= 5; ++copied) {
        driver::SetClipboardText(L"履歴 " + std::to_wstring(copied));
        ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HistoryFileCount() == copied; }));
    }
    const HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    const HWND page = driver::ShowSheetPage(sheet, kHistory);
    driver::SetControlText(::GetDlgItem(page, 5004), L"3");
    ASSERT_TRUE(EnabledBecomes(sheet, driver::kApplyButtonId, true));
    driver::ClickControl(sheet, driver::kApplyButtonId);
    EXPECT_TRUE(StoredBecomes(L"ClipboardHistory", L"ClipboardHistoryMaxCount", L"3"));
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HistoryFileCount() == 3; }))
        << "the history still holds " << HistoryFileCount() << " files";
    driver::ClickControl(sheet, IDCANCEL);
}

TEST_F(SettingsSheet, LogPageSwitchKeepsCategoriesTickedButDisabledAndApplyStoresAllSeven) {
    WriteSettings(L"[Log]\r\nUseLog=true\r\nLogManualReplace=false\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    const HWND page = driver::ShowSheetPage(sheet, kLog);
    driver::ClickControl(page, 6002);
    for (const int category : {6003, 6005, 6006, 6007, 6008}) {
        EXPECT_TRUE(EnabledBecomes(page, category, false)) << category;
        EXPECT_TRUE(driver::IsTicked(page, category)) << category;
    }
    EXPECT_FALSE(driver::IsTicked(page, 6004));

    ASSERT_TRUE(ApplyAll(sheet));
    EXPECT_EQ(Stored(L"Log", L"LogOther"), L"true");
    EXPECT_EQ(Stored(L"Log", L"UseLog"), L"false");
    EXPECT_EQ(Stored(L"Log", L"LogKeywordSearch"), L"true");
    EXPECT_EQ(Stored(L"Log", L"LogManualReplace"), L"false");
    for (const wchar_t* key : {L"LogAutoReplace", L"LogClipboardHistory", L"LogClipboardFavorites"})
        EXPECT_EQ(Stored(L"Log", key), L"true") << Utf8(key);
    driver::ClickControl(sheet, IDCANCEL);
}

TEST_F(SettingsSheet, TextWindowPageFollowsADragQuietlyAndApplyRecreatesTheWindow) {
    WriteSettings(L"[ClipboardTextWindow]\r\nUseClipboardTextWindow=true\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    const driver::WindowQuery windowQuery{.className = L"ClipboardTextWindowClass", .processId = ProcessId(), .visibleOnly = true};
    const HWND window = driver::WaitForWindow(windowQuery);
    ASSERT_NE(window, nullptr);
    const HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    const HWND page = driver::ShowSheetPage(sheet, kTextWindow);
    EXPECT_EQ(Utf8(driver::TextOf(::GetDlgItem(page, 7200))), "100");

    driver::DragWithLeftButton({200, 150}, {250, 190});
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] {
        return driver::TextOf(::GetDlgItem(page, 7200)) == L"150" && driver::TextOf(::GetDlgItem(page, 7201)) == L"140";
    })) << "the position fields did not follow the drag";
    EXPECT_FALSE(Enabled(sheet, driver::kApplyButtonId)) << "the program's own update must not enable Apply";

    driver::SetControlText(::GetDlgItem(page, 7202), L"300");
    ASSERT_TRUE(EnabledBecomes(sheet, driver::kApplyButtonId, true));
    driver::ClickControl(sheet, driver::kApplyButtonId);
    EXPECT_TRUE(StoredBecomes(L"ClipboardTextWindow", L"ClipboardTextWindowWidth", L"300"));
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return !::IsWindow(window); }))
        << "Apply must re-create the window";
    const HWND recreated = driver::WaitForWindow(windowQuery);
    ASSERT_NE(recreated, nullptr);
    RECT bounds{};
    ::GetWindowRect(recreated, &bounds);
    EXPECT_EQ(bounds.left, 150);
    EXPECT_EQ(bounds.right - bounds.left, 300);
    driver::ClickControl(sheet, IDCANCEL);
}

TEST_F(SettingsSheet, TrayPageRefusesLeavingOutTheMainMenu) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    const HWND page = driver::ShowSheetPage(sheet, kTray);
    for (const int list : {8001, 8002, 8003, 8004}) driver::SelectComboItem(page, list, 0);
    ASSERT_TRUE(EnabledBecomes(sheet, driver::kApplyButtonId, true));
    driver::ClickControl(sheet, driver::kApplyButtonId);
    EXPECT_EQ(Utf8(TakeMessageBox(L"エラー")), Utf8(L"「メインメニュー表示」操作を少なくとも1つは割り当てて下さい。"));
    EXPECT_TRUE(::IsWindowVisible(sheet));
    EXPECT_EQ(Stored(L"TrayIcon", L"RightClick"), L"(missing)");
    driver::ClickControl(sheet, IDCANCEL);
}

// The detectors switched on through the page warn of real numbers only, labelled where the page
// says, and show no more of a number than its last four digits.
TEST_F(SettingsSheet, ProtectPageSwitchesOnDetectorsThatWarnOfRealNumbersOnly) {
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    const HWND page = driver::ShowSheetPage(sheet, kProtect);
    ASSERT_NE(page, nullptr);
    // Card and My Number are guarded out of the box; corporate numbers are public, off until asked.
    EXPECT_TRUE(driver::IsTicked(page, 9010));
    EXPECT_TRUE(driver::IsTicked(page, 9020));
    driver::ClickControl(page, 9030);
    driver::ClickControl(sheet, IDOK);
    ASSERT_TRUE(driver::WaitForNoWindow(SheetQuery()));
    ASSERT_TRUE(StoredBecomes(L"Detect", L"DetectCorporateNumberNeedsLabel", L"true"));

    const auto warning = [&](const std::wstring& text) {
        driver::SetClipboardText(text);
        return TakeMessageBox(L"クリップボード検出 - Veltrano");
    };
    EXPECT_EQ(Utf8(warning(L"カード 4111 1111 1111 1111")),
              Utf8(L"一致部分: **** **** **** 1111\n検出ルール: 支払カード番号\n設定: ラベル不要"));
    // Neither one digit off nor an order number without its label warns: the next warning is the
    // first since the card.
    for (const std::wstring quiet : {L"カード 4111 1111 1111 1112", L"注文番号 123456789018", L"受付 TK1234567"}) {
        driver::SetClipboardText(quiet);
        // Handled before the next copy, which could otherwise be read in its place and warn twice.
        ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == quiet + L" - Veltrano"; }));
    }
    EXPECT_EQ(Utf8(warning(L"ﾏｲﾅﾝﾊﾞｰ：１２３４ー５６７８ー９０１８")),
              Utf8(L"一致部分: ＊＊＊＊ー＊＊＊＊ー９０１８\n検出ルール: 個人番号\n設定: ラベル必須"));
    EXPECT_EQ(Utf8(warning(L"法人番号 7000012050002")),
              Utf8(L"一致部分: *********0002\n検出ルール: 法人番号\n設定: ラベル必須"));
    // The numbers that are every order number without their label, letters masked with the digits.
    const std::pair<const wchar_t*, const wchar_t*> labelled[] = {
        {L"旅券番号：TK1234567", L"*****4567\n検出ルール: 旅券番号"},
        {L"免許証番号 第 3012 3456 7890 号", L"**** **** 7890\n検出ルール: 運転免許証番号"},
        {L"在留カード ＡＢ１２３４５６７８ＣＤ", L"＊＊＊＊＊＊５６７８＊＊\n検出ルール: 在留カード番号"},
        {L"基礎年金番号 1234-567890", L"****-**7890\n検出ルール: 基礎年金番号"},
        {L"振込先 0009 221 普通 1234567", L"***4567\n検出ルール: 口座番号"},
    };
    for (const auto& [copied, shown] : labelled) {
        EXPECT_EQ(Utf8(warning(copied)), Utf8(L"一致部分: " + std::wstring(shown) + L"\n設定: ラベル必須"));
    }
    EXPECT_EQ(Utf8(warning(driver::MakeSizedText(8u << 20) + L" 4111 - 1111 - 1111 - 1111")),
              Utf8(L"一致部分: **** - **** - **** - 1111\n検出ルール: 支払カード番号\n設定: ラベル不要"));
}

}  // namespace
}  // namespace veltrano::e2e
