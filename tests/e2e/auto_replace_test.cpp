// Automatic replacement rewrites copied text, with its guard against runaway chains.

#include "driver/clipboard_access.h"
#include "driver/popup_menus.h"
#include "driver/window_queries.h"
#include "matching/auto_replace_guard.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr WORD kAutoReplaceCommand = 40009;

class AutoReplacement : public ProgramTest {
protected:
    bool ClipboardBecomes(const std::wstring& text) const {
        return driver::PollUntil(driver::kDefaultTimeoutMs,
                                 [&] { return driver::GetClipboardText() == std::optional<std::wstring>(text); });
    }
};

TEST_F(AutoReplacement, CopiedSecretBecomesTheReplacementAndBothAreInTheHistory) {
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n[ClipboardReplace]\r\nInitialAutoReplaceEnable=true\r\n"
                  L"[TrayIcon]\r\nMiddleClick=3\r\n");
    WriteDataText(L"_wildcard_replace.txt", L"[a][i]secr?t\t秘密\n");
    WriteDataText(L"_regex_keywords.txt", L"Secret\n");
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::SetClipboardText(L"Secret");
    EXPECT_TRUE(ClipboardBecomes(L"秘密"));
    EXPECT_FALSE(TakeMessageBox(L"クリップボード自動置換実行 - Veltrano").empty());
    // The copied text was never searched: it was replaced before that step.
    EXPECT_EQ(driver::WaitForWindow({.className = L"#32770", .caption = L"クリップボード検出 - Veltrano",
                                     .processId = ProcessId(), .visibleOnly = true},
                                    1500),
              nullptr);

    // The history holds the copied text and, newer, the replacement.
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HistoryFileCount() == 2; }));
    driver::PostTrayCallback(MainWindow(), WM_MBUTTONUP);
    const HWND menu = driver::WaitForPopupMenu(ProcessId());
    ASSERT_NE(menu, nullptr);
    driver::ChooseMenuAccelerator(menu, L'2');
    EXPECT_TRUE(ClipboardBecomes(L"秘密")) << "restoring the copied text replaces it again";
}

TEST_F(AutoReplacement, ChainAsksAfterTheAllowedCountAndNoStopsIt) {
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n[Log]\r\nUseLog=true\r\n[ClipboardReplace]\r\n"
                  L"InitialAutoReplaceEnable=true\r\nNotifyAfterAutoReplace=false\r\nReplaceContinuousCount=3\r\n"
                  L"ReplaceContinuousIntervalMs=60000\r\n");
    WriteDataText(L"_regex_replace.txt", L"[a]x$\txx\n");
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::SetClipboardText(L"x");
    EXPECT_EQ(Utf8(TakeMessageBox(kAutoReplaceConfirmCaption, IDNO)), Utf8(kAutoReplaceConfirmText));
    EXPECT_TRUE(Logged(L"[AutoReplace][クリップボード連続自動置換を中止]"));
    EXPECT_EQ(driver::GetClipboardText(), std::optional<std::wstring>(L"xxxx")) << "three rewrites, then the question";
}

TEST_F(AutoReplacement, PreventionStopsTheSecondLinkWithoutAsking) {
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n[Log]\r\nUseLog=true\r\n[ClipboardReplace]\r\n"
                  L"InitialAutoReplaceEnable=true\r\nNotifyAfterAutoReplace=false\r\nPreventConsecutiveAutoReplace=true\r\n"
                  L"ReplaceContinuousIntervalMs=60000\r\n");
    WriteDataText(L"_regex_replace.txt", L"[a]x$\txx\n");
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::SetClipboardText(L"x");
    EXPECT_TRUE(ClipboardBecomes(L"xx"));
    EXPECT_TRUE(Logged(L"[AutoReplace][クリップボード連続自動置換を中止]"));
    EXPECT_EQ(driver::GetClipboardText(), std::optional<std::wstring>(L"xx"));
    EXPECT_EQ(driver::WaitForWindow({.className = L"#32770", .processId = ProcessId(), .visibleOnly = true}, 1000),
              nullptr);
}

TEST_F(AutoReplacement, TheTrayCommandSwitchesItOffAndOn) {
    WriteSettings(L"[ClipboardReplace]\r\nInitialAutoReplaceEnable=true\r\nNotifyAfterAutoReplace=false\r\n");
    WriteDataText(L"_wildcard_replace.txt", L"[a]secret\tX\n");
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::SendCommand(MainWindow(), kAutoReplaceCommand);
    driver::SetClipboardText(L"secret one");
    ::Sleep(1500);  // nothing is expected to happen; give it the chance
    EXPECT_EQ(driver::GetClipboardText(), std::optional<std::wstring>(L"secret one"));

    driver::SendCommand(MainWindow(), kAutoReplaceCommand);
    driver::SetClipboardText(L"secret two");
    EXPECT_TRUE(ClipboardBecomes(L"X two"));
}

}  // namespace
}  // namespace veltrano::e2e
