// Copies that their owner marks as private are neither recorded, replaced, searched nor shown; logs
// that keep texts out hold none.
#include <filesystem>

#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr wchar_t kDetectionCaption[] = L"クリップボード検出 - Veltrano";
constexpr wchar_t kReplacedCaption[] = L"クリップボード自動置換実行 - Veltrano";
constexpr wchar_t kSettings[] =
    L"[Notify]\r\nNotifyMode=1\r\n[ClipboardReplace]\r\nInitialAutoReplaceEnable=true\r\n";

class PrivateCopies : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteDataText(L"_wildcard_keywords.txt", L"secret*\n");
        WriteDataText(L"_wildcard_replace.txt", L"[a]REPLACEME\treplaced\nsecret\tSECRET\n");
    }
    void StartWith(std::wstring_view extraSettings) {
        WriteSettings(std::wstring(kSettings) + std::wstring(extraSettings));
        ASSERT_NO_FATAL_FAILURE(Start());
        // An ordinary copy first, so that the tooltip shows a text the private copy must clear.
        driver::SetClipboardText(L"plain");
        ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HistoryFileCount() == 1; }));
        ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == L"plain - Veltrano"; }));
    }
    // The warning for `text`, which must be the first one since the earlier copies.
    std::string WarningFor(const std::wstring& text) {
        driver::SetClipboardText(text);
        return Utf8(TakeMessageBox(kDetectionCaption));
    }
    static std::string Warning(const std::wstring& matched) {
        return Utf8(L"一致部分: " + matched + L"\nワイルドカードキーワード: secret*\n設定: 大文字小文字区別");
    }
};

TEST_F(PrivateCopies, MarkedCopiesLeaveNoTraceAndNotForHistoryOnlySkipsTheHistory) {
    ASSERT_NO_FATAL_FAILURE(StartWith(L""));

    for (const driver::ClipboardMarkers markers :
         {driver::ClipboardMarkers{.excludeFromMonitoring = true}, driver::ClipboardMarkers{.viewerIgnore = true}}) {
        driver::SetClipboardText(L"secret REPLACEME", markers);
        EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == kProductName; }))
            << "the private copy's update must clear the tooltip";
        EXPECT_EQ(driver::GetClipboardText(), std::optional<std::wstring>(L"secret REPLACEME")) << "never replaced";
        // The next ordinary copy's warning is the first one: the private copy raised none.
        EXPECT_EQ(WarningFor(L"secret sync"), Warning(L"secret sync"));
        EXPECT_EQ(HistoryFileCount(), 2u) << "only the ordinary copies are recorded";
        ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == L"secret sync - Veltrano"; }));
        driver::SetClipboardText(L"plain");  // back to two entries: "plain" moves up, nothing new
        // Handled before the next copy: a copy right behind it could be read in its place.
        ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == L"plain - Veltrano"; }));
    }

    // Not for history: searched and replaced as usual, but neither it nor its replacement is recorded.
    driver::SetClipboardText(L"secret REPLACEME", {.canIncludeInHistory = 0});
    EXPECT_FALSE(TakeMessageBox(kReplacedCaption).empty());
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)), Warning(L"secret replaced"));
    EXPECT_EQ(HistoryFileCount(), 2u);
}

// The manual replacement menu (the tray icon's left click) reads the clipboard as the pipeline does.
TEST_F(PrivateCopies, ManualReplacementNeitherReadsAPrivateCopyNorRecordsWhatItMakesOfANotForHistoryOne) {
    ASSERT_NO_FATAL_FAILURE(StartWith(L""));

    driver::SetClipboardText(L"secret key", {.excludeFromMonitoring = true});
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == kProductName; }));
    ASSERT_NO_FATAL_FAILURE(ChooseManualReplacement(L'1'));
    EXPECT_EQ(Utf8(TakeMessageBox(L"クリップボード手動置換失敗 - Veltrano")),
              Utf8(L"クリップボードの文字列の取得に失敗しました。"))
        << "a private copy reads as no text";
    EXPECT_EQ(driver::GetClipboardText(), std::optional<std::wstring>(L"secret key"));

    driver::SetClipboardText(L"secret two", {.canIncludeInHistory = 0});
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)), Warning(L"secret two"));
    ASSERT_NO_FATAL_FAILURE(ChooseManualReplacement(L'1'));
    EXPECT_FALSE(TakeMessageBox(L"クリップボード手動置換実行 - Veltrano").empty());
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == L"SECRET two - Veltrano"; }));
    EXPECT_EQ(HistoryFileCount(), 1u) << "neither the copy nor its replacement is recorded";
}

// With the log keeping texts out, a keyword hit, an automatic and a manual replacement leave no
// copied text in the log folder, only tags.
TEST_F(PrivateCopies, MaskedLogsHoldNoCopiedText) {
    ASSERT_NO_FATAL_FAILURE(StartWith(L"[Log]\r\nUseLog=true\r\nLogMaskSecrets=true\r\n"));
    driver::SetClipboardText(L"secret REPLACEME");
    EXPECT_FALSE(TakeMessageBox(kReplacedCaption).empty());
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)), Warning(L"secret replaced"));
    ASSERT_NO_FATAL_FAILURE(ChooseManualReplacement(L'1'));
    EXPECT_FALSE(TakeMessageBox(L"クリップボード手動置換実行 - Veltrano").empty());
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == L"SECRET replaced - Veltrano"; }));
    ASSERT_NO_FATAL_FAILURE(Exit());

    std::string logged;
    for (const auto& file : std::filesystem::directory_iterator(DataPath(L"_log"))) {
        logged += driver::ReadFileBytes(file.path().wstring());
    }
    for (const wchar_t* copied : {L"secret REPLACEME", L"secret replaced", L"SECRET replaced"}) {
        EXPECT_EQ(logged.find(Utf8(copied)), std::string::npos) << Utf8(copied) << " in the log:\n" << logged;
    }
    // The detection, the automatic replacement and the manual one are logged, each with its tags.
    for (const wchar_t* line : {L"[KeywordSearch][クリップボード検出]", L"[AutoReplace][クリップボード自動置換実行]",
                                L"[ManualReplace][クリップボード手動置換実行]"}) {
        EXPECT_NE(logged.find(Utf8(line)), std::string::npos) << Utf8(line);
    }
    EXPECT_NE(logged.find(Utf8(L"置換前: <16文字 #")), std::string::npos) << logged;
}

// The driver copies from its own process: its file name names the copying program.
std::wstring DriverFileName() {
    wchar_t path[MAX_PATH];
    const std::wstring_view whole(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    return std::wstring(whole.substr(whole.find_last_of(L'\\') + 1));
}

// The copying program is named in the warning and its log line when asked; a listed program's
// copies are private (a name that only shares its beginning is not that program).
TEST_F(PrivateCopies, TheCopyingProgramIsNamedAndAListedOneIsIgnored) {
    const std::wstring program = DriverFileName();
    const std::wstring prefixOnly = program.substr(0, program.size() - 4);
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\nShowSourceApplication=true\r\n[Log]\r\nUseLog=true\r\n"
                  L"[Clipboard]\r\nIgnoredApplications=" + prefixOnly + L" ; other.exe\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    driver::ClipboardOwner owner;
    owner.Copy(L"secret one");
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)), Warning(L"secret one") + Utf8(L"\nコピー元: " + program));
    EXPECT_TRUE(Logged(L"一致部分: secret one / クリップボード内容: secret one / コピー元: " + program));
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HistoryFileCount() == 1; }));

    std::wstring shouted = program;
    ::CharUpperBuffW(shouted.data(), static_cast<DWORD>(shouted.size()));
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n[Clipboard]\r\nIgnoredApplications=other.exe; " + shouted + L"\r\n");
    owner.Copy(L"secret two");
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == kProductName; }));
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n");
    // The next copy's warning is the first one since: the listed program's copy raised none.
    EXPECT_EQ(WarningFor(L"secret three"), Warning(L"secret three"));
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HistoryFileCount() == 2; }));
}

// A copy whose owner is gone when read (its program ended): the guard's own warning in front is no guess.
TEST_F(PrivateCopies, AProgramThatCopiesAndEndsIsNeverTakenForTheGuard) {
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\nShowSourceApplication=true\r\n[Log]\r\nUseLog=true\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    driver::SetClipboardText(L"secret one");
    const HWND first = driver::WaitForMessageBox(kDetectionCaption);
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return ::GetForegroundWindow() == first; }));
    // The guard's window thread is held until the copy's owner window is gone.
    const UniqueHandle held(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, ::GetWindowThreadProcessId(MainWindow(), nullptr)));
    ASSERT_NE(::SuspendThread(held.Get()), DWORD(-1));
    driver::SetClipboardText(L"secret two");
    ::ResumeThread(held.Get());
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return Logged(L"secret two / コピー元: 不明"); })) << TodaysLog();
}

TEST_F(PrivateCopies, WithTheSettingOffEveryCopyIsOrdinary) {
    ASSERT_NO_FATAL_FAILURE(StartWith(L"[Clipboard]\r\nRespectPrivateCopies=false\r\n"));

    driver::SetClipboardText(L"secret two", {.excludeFromMonitoring = true});
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)), Warning(L"secret two"));
    driver::SetClipboardText(L"secret three", {.canIncludeInHistory = 0});
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)), Warning(L"secret three"));
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HistoryFileCount() == 3; }));
}

}  // namespace
}  // namespace veltrano::e2e
