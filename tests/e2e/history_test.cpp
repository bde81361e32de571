// Every copied text is kept sealed in the history folder and can be put back from the tray.
#include <filesystem>

#include "driver/clipboard_access.h"
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
    // Copies a text and waits until the program has recorded it.
    void Copy(const std::wstring& text, size_t expectedFiles) {
        driver::SetClipboardText(text);
        ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HistoryFiles().size() == expectedFiles; }))
            << "the history holds " << HistoryFiles().size() << " files, not " << expectedFiles;
    }
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
    ChooseFromHistory(L'2');
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs,
                                  [] { return driver::GetClipboardText() == std::optional<std::wstring>(L"newer"); }))
        << "after the restart, entry 2 is the one copied before the newest";
}

}  // namespace
}  // namespace veltrano::e2e
