// Every copied text is kept sealed in the history folder and can be put back from the tray.
#include <algorithm>
#include <filesystem>

#include "driver/clipboard_access.h"
#include "driver/history_files.h"
#include "driver/popup_menus.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

class History : public ProgramTest {
protected:
    std::vector<std::filesystem::path> HistoryFiles() const {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(DataPath(L"_history"), error)) {
            files.push_back(entry.path());
        }
        return files;
    }
    // Copies a text and waits until the program has recorded it: the files counted, and none still
    // being written (an atomic write's "~….tmp" stands beside the files until it is renamed).
    void Copy(const std::wstring& text, size_t expectedFiles) {
        driver::SetClipboardText(text);
        const auto recorded = [&] {
            const std::vector<std::filesystem::path> files = HistoryFiles();
            return files.size() == expectedFiles && std::none_of(files.begin(), files.end(), [](const auto& file) {
                       return file.filename().wstring().starts_with(L"~") && file.extension() == L".tmp";
                   });
        };
        ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, recorded))
            << "the history holds " << HistoryFiles().size() << " files, not " << expectedFiles;
    }
    size_t NewFileCount() const { return driver::CountHistoryFiles(DataPath(L"_history")).recorded; }

    // The middle click opens the history menu by default; the accelerator picks an entry.
    void ChooseFromHistory(wchar_t accelerator) {
        driver::PostTrayCallback(MainWindow(), WM_MBUTTONUP);
        const HWND menu = driver::WaitForPopupMenu(ProcessId());
        ASSERT_NE(menu, nullptr) << "the history menu did not open";
        driver::ChooseMenuAccelerator(menu, accelerator);
    }
};

TEST_F(History, CopiedTextsAreSealedAndTheMenuPutsOneBack) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Copy(L"最初の機密", 1));
    ASSERT_NO_FATAL_FAILURE(Copy(L"second secret", 2));
    ASSERT_NO_FATAL_FAILURE(Copy(L"third", 3));
    for (const auto& file : HistoryFiles()) {
        EXPECT_EQ(file.extension(), L".bin");
        EXPECT_EQ(driver::ReadFileBytes(file.wstring()).find("secret"), std::string::npos) << "sealed, never plain";
    }

    ChooseFromHistory(L'2');
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs,
                                  [] { return driver::GetClipboardText() == std::optional<std::wstring>(L"second secret"); }))
        << "the second newest entry is not on the clipboard";
    // Put back, it is the newest again: still three files, one per text.
    ASSERT_NO_FATAL_FAILURE(Copy(L"third", 3));
}

TEST_F(History, SameTextTwiceKeepsOneFileAndARestartKeepsTheOrder) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Copy(L"older", 1));
    ASSERT_NO_FATAL_FAILURE(Copy(L"newer", 2));
    const auto before = HistoryFiles();
    driver::SetClipboardText(L"older");
    // The new file is written before the old one goes: wait for both steps.
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] {
        const auto now = HistoryFiles();
        return now != before && now.size() == 2;
    })) << "copying a text again must leave one file per text";

    ASSERT_NO_FATAL_FAILURE(Exit());
    ASSERT_NO_FATAL_FAILURE(Restart());
    // The history is read behind the guard: the newest text copied again is recorded only once
    // it is read, so the menu below shows the entries, in the same order.
    const auto restarted = HistoryFiles();
    driver::SetClipboardText(L"older");
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] {
        const auto now = HistoryFiles();
        return now != restarted && now.size() == 2;
    }));
    ChooseFromHistory(L'2');
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs,
                                  [] { return driver::GetClipboardText() == std::optional<std::wstring>(L"newer"); }))
        << "after the restart, entry 2 is the one copied before the newest";
}

// A full history is read behind the guard: a copy right after the start is warned about at once,
// a copy queued while the history loads is stored when the session ends, and the copies made while
// it loads are recorded against the whole history.
TEST_F(History, AFullHistoryLoadsWithoutBlindingTheGuardAndStaysExact) {
    constexpr int kFull = 9999;
    WriteSettings(L"[ClipboardHistory]\r\nClipboardHistoryMaxCount=9999\r\n[Notify]\r\nNotifyMode=1\r\n");
    WriteDataText(L"_wildcard_keywords.txt", L"*secret*\n");
    WriteDataText(L"_regex_keywords.txt", L"");
    driver::SealOldHistoryEntries(DataPath(L"_history"), kFull);
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::SetClipboardText(L"top secret");
    EXPECT_EQ(Utf8(TakeMessageBox(L"クリップボード検出 - Veltrano")),
              Utf8(L"一致部分: top secret\nワイルドカードキーワード: *secret*\n設定: 大文字小文字区別"));
    // Logging off, nothing runs after the answer: the copy is sealed and stored before it.
    ::SendMessageW(MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(NewFileCount(), 1u) << "the copy is stored although the history was still being read";
    ASSERT_NO_FATAL_FAILURE(Exit());

    ASSERT_NO_FATAL_FAILURE(Restart());
    driver::SetClipboardText(L"old entry 5000");
    // One file per text: entry 5000's old file gone, the oldest trimmed beyond the maximum.
    EXPECT_TRUE(driver::PollUntil(240000, [&] { return NewFileCount() == 2 && HistoryFiles().size() == kFull; }))
        << NewFileCount() << " new of " << HistoryFiles().size() << " files";
    const std::wstring folder = DataPath(L"_history\\");
    EXPECT_FALSE(driver::FileExists(folder + driver::OldHistoryEntryName(0))) << "the oldest goes beyond the maximum";
    EXPECT_FALSE(driver::FileExists(folder + driver::OldHistoryEntryName(5000))) << "one file per text";

    ChooseFromHistory(L'2');
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs,
                                  [] { return driver::GetClipboardText() == std::optional<std::wstring>(L"top secret"); }))
        << "entry 2 is the keyword text copied while the history loaded";
    TakeMessageBox(L"クリップボード検出 - Veltrano");
}

// Sealing a giant copy takes seconds; it runs beside the window, which is free for the next copy
// long before the giant's entry is on disk. The clipboard holds only its latest copy: a window busy
// sealing would read a keyword copy too late, after the next copy replaced it.
TEST_F(History, AGiantCopyIsSealedBesideTheWindowThatReadsTheNextCopy) {
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n");
    WriteDataText(L"_wildcard_keywords.txt", L"*secret*\n");
    WriteDataText(L"_regex_keywords.txt", L"");
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::wstring giant = driver::MakeSizedText(32u << 20);  // 64 MiB as UTF-16

    driver::SetClipboardText(giant);
    // The tip changes as the window starts on the copy; a sent message is answered once it is done.
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return TrayTip() != kProductName; }));
    DWORD_PTR unused = 0;
    ASSERT_NE(::SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_BLOCK, driver::kDefaultTimeoutMs, &unused), 0);
    EXPECT_TRUE(HistoryFiles().empty()) << "the window was held until the giant copy was sealed";

    driver::SetClipboardText(L"top secret");
    EXPECT_EQ(Utf8(TakeMessageBox(L"クリップボード検出 - Veltrano")),
              Utf8(L"一致部分: top secret\nワイルドカードキーワード: *secret*\n設定: 大文字小文字区別"));
    EXPECT_TRUE(driver::PollUntil(60000, [&] { return HistoryFiles().size() == 2; }))
        << HistoryFiles().size() << " files: the giant and the keyword copy are both recorded";
}

}  // namespace
}  // namespace veltrano::e2e
