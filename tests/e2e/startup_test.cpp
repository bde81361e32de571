// Start, single instance and exit of the real program.
#include <algorithm>

#include "driver/message_boxes.h"
#include "driver/tray_icons.h"
#include "driver/waiting.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

using ProgramStart = ProgramTest;

// A tray icon with this tip, owned by `owner` (any owner when null).
bool HasTrayIcon(HWND owner, const std::wstring& tip) {
    const auto icons = driver::ListTrayIcons();
    return std::any_of(icons.begin(), icons.end(), [&](const driver::TrayIconInfo& icon) {
        return (!owner || icon.owner == owner) && icon.tip == tip;
    });
}

TEST_F(ProgramStart, ShowsHiddenMainWindowAndTrayIcon) {
    ASSERT_NO_FATAL_FAILURE(Start());

    EXPECT_EQ(driver::ClassNameOf(MainWindow()), kMainWindowClass);
    EXPECT_EQ(driver::TextOf(MainWindow()), kProductName);
    EXPECT_FALSE(::IsWindowVisible(MainWindow()));

    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HasTrayIcon(MainWindow(), kProductName); }))
        << "no tray icon owned by the main window with the tip \"Veltrano\"";
    EXPECT_TRUE(driver::FindMessageBoxes(L"エラー - Veltrano").empty());
    EXPECT_TRUE(driver::IsRunning(Process()));
}

TEST_F(ProgramStart, SecondStartWarnsOnceAndLeavesFirstRunning) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const driver::StartedProgram& second = StartAnother();

    const HWND box = driver::WaitForWindow(
        {.className = driver::kDialogClass, .caption = kProductName, .processId = second.processId, .visibleOnly = true});
    ASSERT_NE(box, nullptr) << "the second start showed no message box";
    EXPECT_EQ(driver::FindMessageBoxes(kProductName).size(), 1u);
    EXPECT_EQ(Utf8(driver::MessageBoxText(box)), Utf8(L"このソフトはすでに起動しています。"));

    driver::PressButton(box, IDOK);
    EXPECT_EQ(driver::WaitForExit(second.process.Get()), std::optional<DWORD>(0));

    EXPECT_TRUE(driver::IsRunning(Process()));
    EXPECT_TRUE(::IsWindow(MainWindow()));
}

TEST_F(ProgramStart, ExitCommandEndsWithCodeZeroAndRemovesTrayIcon) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND window = MainWindow();
    ASSERT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return HasTrayIcon(window, kProductName); }));

    ASSERT_NO_FATAL_FAILURE(Exit());

    // Wine also drops the icons of a destroyed owner window by itself, so this proves that no
    // icon is left, not that the program deleted it.
    EXPECT_TRUE(driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return !HasTrayIcon(nullptr, kProductName); }))
        << "the tray icon stayed after the exit";
    EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace veltrano::e2e
