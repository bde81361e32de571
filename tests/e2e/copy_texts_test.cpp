// Registered copy texts: edited as text files, sealed by command, offered in their tray menu.
#include "base/text_encoding.h"
#include "driver/clipboard_access.h"
#include "driver/popup_menus.h"
#include "driver/program_folder.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr WORD kEncryptCopyTextsCommand = 40007;
constexpr WORD kDecryptCopyTextsCommand = 40008;

using CopyTexts = ProgramTest;

TEST_F(CopyTexts, EditSealChooseAndDecrypt) {
    // Message boxes for the reports; the left click opens the copy-text menu.
    WriteSettings(L"[Notify]\r\nNotifyMode=1\r\n[TrayIcon]\r\nLeftClick=4\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::wstring folder = DataPath(L"_copy");
    EXPECT_EQ(driver::ReadFileBytes(folder + L"\\a.txt"), "\xEF\xBB\xBF") << "placeholders are made at start";
    EXPECT_EQ(driver::ReadFileBytes(folder + L"\\0.txt"), "\xEF\xBB\xBF");

    const std::wstring address = L"〒100-0001 東京都千代田区";
    driver::WriteFileBytes(folder + L"\\a.txt", "\xEF\xBB\xBF" + WideToUtf8(address));
    driver::PostCommand(MainWindow(), kEncryptCopyTextsCommand);
    EXPECT_EQ(Utf8(TakeMessageBox(L"成功 - Veltrano")),
              Utf8(L"全てのコピーテキスト登録ファイルの暗号化＆再読み込みに成功しました。"));
    EXPECT_TRUE(driver::FileExists(folder + L"\\a.bin"));
    EXPECT_FALSE(driver::FileExists(folder + L"\\a.txt")) << "the placeholder comes back at the next run";

    driver::PostTrayCallback(MainWindow(), WM_LBUTTONUP);
    const HWND menu = driver::WaitForPopupMenu(ProcessId());
    ASSERT_NE(menu, nullptr) << "the copy-text menu did not open";
    driver::ChooseMenuAccelerator(menu, L'a');
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs,
                                  [&] { return driver::GetClipboardText() == std::optional<std::wstring>(address); }));

    driver::PostCommand(MainWindow(), kDecryptCopyTextsCommand);
    EXPECT_EQ(Utf8(TakeMessageBox(L"復号成功 - Veltrano")), Utf8(L"全ての暗号ファイルの復号に成功しました。復号成功件数=1"));
    EXPECT_EQ(driver::ReadFileBytes(folder + L"\\a.txt"), "\xEF\xBB\xBF" + WideToUtf8(address));
    EXPECT_FALSE(driver::FileExists(folder + L"\\a.bin"));
}

}  // namespace
}  // namespace veltrano::e2e
