// The manual replacement menu applies one definition to the clipboard text.
#include "driver/clipboard_access.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

class ManualReplaceMenu : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Left click opens the manual replacement menu by default.
        WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n");
        WriteDataText(L"_wildcard_replace.txt", L"secr?t\t秘密\n");
        WriteDataText(L"_regex_replace.txt", L"\\d+\t#\n");
    }
};

TEST_F(ManualReplaceMenu, FirstItemRewritesTheClipboardAndAMissIsReported) {
    ASSERT_NO_FATAL_FAILURE(Start());
    driver::SetClipboardText(L"my secret and secrat");
    ASSERT_NO_FATAL_FAILURE(ChooseManualReplacement(L'1'));
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [] {
        return driver::GetClipboardText() == std::optional<std::wstring>(L"my 秘密 and 秘密");
    }));
    EXPECT_FALSE(TakeMessageBox(L"クリップボード手動置換実行 - Veltrano").empty());

    // The regex item finds no digits: the clipboard stays and the user is told.
    ASSERT_NO_FATAL_FAILURE(ChooseManualReplacement(L'2'));
    EXPECT_FALSE(TakeMessageBox(L"クリップボード手動置換空振り - Veltrano").empty());
    EXPECT_EQ(driver::GetClipboardText(), std::optional<std::wstring>(L"my 秘密 and 秘密"));
}

// Definitions edited while the menu is open wait until it closes, even when a copy comes meanwhile:
// the item chosen is the definition it showed.
TEST_F(ManualReplaceMenu, AnEditWhileTheMenuIsOpenWaitsUntilItCloses) {
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n[ClipboardReplace]\r\nInitialAutoReplaceEnable=true\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    driver::SetClipboardText(L"my secret 42");
    ASSERT_NO_FATAL_FAILURE(ChooseManualReplacement(L'1', [&] {
        WriteDataText(L"_wildcard_replace.txt", L"4?\t四十二\nsecr?t\t秘密\n");
        driver::SetClipboardText(L"secret 42");  // its update comes before the choice
    }));
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [] {
        return driver::GetClipboardText() == std::optional<std::wstring>(L"秘密 42");
    })) << Utf8(driver::GetClipboardText().value_or(L"(none)"));
    EXPECT_FALSE(TakeMessageBox(L"クリップボード手動置換実行 - Veltrano").empty());
}

}  // namespace
}  // namespace veltrano::e2e
