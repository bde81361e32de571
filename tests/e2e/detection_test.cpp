// Copying text that holds a keyword warns the user; nothing the clipboard holds can stop the guard.
#include <windows.h>

#include <shellapi.h>
#include <wtsapi32.h>

#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr wchar_t kDetectionCaption[] = L"クリップボード検出 - Veltrano";
constexpr wchar_t kMessageBoxMode[] = L"[Notify]\r\nNotifyMode=1\r\n";

// The examples of the two keyword file templates, as a user would uncomment them.
constexpr wchar_t kTemplateWildcards[] =
    L"[i]password*\n[i]MySecretKey\n*.txt\nreport_????.log\nerror_*\nfile\\*.txt\nliteral\\?.log\n";
constexpr wchar_t kTemplateRegexes[] =
    L"(\\w+)\\s+\\1\n([\"'])(?:(?!\\1).)*\\1\n[i][a-zA-Z0-9._%+-]+@[a-zA-Z0-9.-]+\\.[a-zA-Z]{2,}\nAPI_KEY_[A-Z0-9]{32}\n";

class Detection : public ProgramTest {
protected:
    void WriteKeywords(std::wstring_view wildcards, std::wstring_view regexes) const {
        WriteDataText(L"_wildcard_keywords.txt", wildcards);
        WriteDataText(L"_regex_keywords.txt", regexes);
    }
    bool NoBoxWithin(DWORD milliseconds) const {
        return driver::WaitForNoWindow({.className = driver::kDialogClass, .processId = ProcessId(), .visibleOnly = true},
                                       0) &&
               !driver::WaitForWindow({.className = driver::kDialogClass, .processId = ProcessId(), .visibleOnly = true},
                                      milliseconds);
    }
};

TEST_F(Detection, RegexKeywordInCopiedTextShowsTheThreeLineWarning) {
    WriteSettings(kMessageBoxMode);
    WriteKeywords(L"", L"\\d{3}-\\d{4}-\\d{4}\n");
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::SetClipboardText(L"Call 090-1234-5678");
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)),
              Utf8(L"一致部分: 090-1234-5678\n正規表現キーワード: \\d{3}-\\d{4}-\\d{4}\n設定: 大文字小文字区別"));
}

// A detected copy leaves the clipboard after its seconds, unless a newer copy came first; the
// history keeps its sealed entry.
TEST_F(Detection, ADetectedCopyIsClearedAfterItsSecondsUnlessANewerCopyCameFirst) {
    WriteSettings(std::wstring(kMessageBoxMode) + L"ClearDetectedClipboardSeconds=2\r\n[Log]\r\nUseLog=true\r\n");
    WriteKeywords(L"secret*\n", L"");
    ASSERT_NO_FATAL_FAILURE(Start());

    const ULONGLONG copied = ::GetTickCount64();
    driver::SetClipboardText(L"secret one");
    TakeMessageBox(kDetectionCaption);
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [] { return !driver::GetClipboardText(); }));
    EXPECT_GE(::GetTickCount64() - copied, 1500u) << "cleared before its seconds";
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == kProductName; }));
    EXPECT_TRUE(Logged(L"[KeywordSearch][クリップボード消去]"));
    EXPECT_EQ(HistoryFileCount(), 1u);

    driver::SetClipboardText(L"secret two");
    TakeMessageBox(kDetectionCaption);
    ::Sleep(1000);
    driver::SetClipboardText(L"plain");
    ::Sleep(3000);
    EXPECT_EQ(driver::GetClipboardText(), std::optional<std::wstring>(L"plain"));
}

// Sleep, a locked session and a restarted shell can cost the program its listener or its icon:
// after each, copies are still warned about, and a copy made just before a resume only once.
TEST_F(Detection, ResumeUnlockAndANewShellLeaveTheGuardWatching) {
    WriteSettings(kMessageBoxMode);
    WriteKeywords(L"secret*\n", L"");
    ASSERT_NO_FATAL_FAILURE(Start());

    const struct {
        UINT message;
        WPARAM wParam;
    } events[] = {{WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
                  {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK},
                  {::RegisterWindowMessageW(L"TaskbarCreated"), 0}};
    int copy = 0;
    for (const auto& event : events) {
        const std::wstring text = L"secret " + std::to_wstring(++copy);
        driver::SetClipboardText(text);
        ASSERT_TRUE(::PostMessageW(MainWindow(), event.message, event.wParam, 0));
        EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)),
                  Utf8(L"一致部分: " + text + L"\nワイルドカードキーワード: secret*\n設定: 大文字小文字区別"));
        EXPECT_TRUE(NoBoxWithin(1000)) << "warned twice about " << Utf8(text);
    }
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == L"secret 3 - Veltrano"; }));
    driver::SetClipboardText(L"secret 4");
    EXPECT_FALSE(TakeMessageBox(kDetectionCaption).empty());
}

TEST_F(Detection, BalloonModeShowsTheWarningAsABalloonAndTheTextAsTooltip) {
    WriteSettings(L"[Notify]\r\nNotifyMode=0\r\n");
    WriteKeywords(L"[i]password*\n", L"");
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::SetClipboardText(L"PASSWORD=hunter2\r\nnext line");
    std::vector<driver::BalloonInfo> balloons;
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] {
        balloons = Balloons();
        return !balloons.empty();
    })) << "no balloon appeared";
    EXPECT_EQ(Utf8(balloons[0].title), Utf8(kDetectionCaption));
    EXPECT_EQ(Utf8(balloons[0].text),
              Utf8(L"一致部分: PASSWORD=hunter2\nワイルドカードキーワード: [i]password*\n設定: 大文字小文字無視"));
    EXPECT_EQ(balloons[0].iconFlag, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(Utf8(TrayTip()), Utf8(L"PASSWORD=hunter2 next line - Veltrano"));
}

TEST_F(Detection, ImageOnlyClipboardRunsNothing) {
    WriteSettings(kMessageBoxMode);
    WriteKeywords(L"*\n", L"");  // would match any text at all
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::SetClipboardText(L"before");
    TakeMessageBox(kDetectionCaption);
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == L"before - Veltrano"; }));

    driver::SetClipboardImage();
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() == kProductName; }))
        << "with no text on the clipboard the tooltip is the product name alone";
    EXPECT_TRUE(NoBoxWithin(1500)) << "an image is no text: no warning expected";
    driver::SetClipboardText(L"text");
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)),
              Utf8(L"一致部分: text\nワイルドカードキーワード: *\n設定: 大文字小文字区別"));
}

TEST_F(Detection, HugeSingleLineCannotStopTheGuard) {
    WriteSettings(kMessageBoxMode);
    WriteKeywords(kTemplateWildcards, kTemplateRegexes);
    ASSERT_NO_FATAL_FAILURE(Start());

    // 8 Mi characters (16 MiB) on one line without any keyword: only the cost of searching matters.
    std::wstring huge;
    huge.reserve(8u << 20);
    while (huge.size() < (8u << 20)) huge += L"abcdefghijklmnopqrstuvwxyz0123456789";
    driver::SetClipboardText(huge);
    // A stopped keyword may be reported; close whatever the program shows about the big text.
    while (HWND box = driver::WaitForWindow(
               {.className = driver::kDialogClass, .processId = ProcessId(), .visibleOnly = true}, 5000)) {
        EXPECT_NE(Utf8(driver::TextOf(box)), Utf8(kDetectionCaption)) << "the big text holds no keyword";
        driver::PressButton(box, IDOK);
        driver::WaitForNoWindow({.className = driver::kDialogClass, .processId = ProcessId(), .visibleOnly = true});
    }
    ASSERT_TRUE(driver::IsRunning(Process()));

    driver::SetClipboardText(L"my Password=hunter2");
    EXPECT_EQ(Utf8(TakeMessageBox(kDetectionCaption)),
              Utf8(L"一致部分: Password=hunter2\nワイルドカードキーワード: [i]password*\n設定: 大文字小文字無視"));
}

}  // namespace
}  // namespace veltrano::e2e
