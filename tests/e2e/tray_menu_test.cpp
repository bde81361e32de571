// The tray icon's clicks open the menus the settings assign, and menu items run their commands.
#include "driver/popup_menus.h"
#include "driver/processes.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

using TrayMenu = ProgramTest;

TEST_F(TrayMenu, RightClickOpensTheMainMenuWhoseExitEndsTheProgram) {
    ASSERT_NO_FATAL_FAILURE(Start());

    driver::PostTrayCallback(MainWindow(), WM_RBUTTONDOWN);
    driver::PostTrayCallback(MainWindow(), WM_RBUTTONUP);
    const HWND menu = driver::WaitForPopupMenu(ProcessId());
    ASSERT_NE(menu, nullptr) << "the right click opened no menu";

    driver::ChooseMenuAccelerator(menu, L'x');
    EXPECT_EQ(driver::WaitForExit(Process()), std::optional<DWORD>(0));
}

TEST_F(TrayMenu, DoubleClickOpensNothing) {
    ASSERT_NO_FATAL_FAILURE(Start());
    driver::PostTrayCallback(MainWindow(), WM_LBUTTONDBLCLK);
    EXPECT_EQ(driver::WaitForPopupMenu(ProcessId(), 1500), nullptr);

    // The left click (manual replacement menu by default) opens its menu; Escape closes it.
    driver::PostTrayCallback(MainWindow(), WM_LBUTTONDOWN);
    driver::PostTrayCallback(MainWindow(), WM_LBUTTONUP);
    const HWND menu = driver::WaitForPopupMenu(ProcessId());
    ASSERT_NE(menu, nullptr);
    driver::CloseMenu(menu);
    EXPECT_TRUE(driver::WaitForNoWindow({.className = driver::kPopupMenuClass, .processId = ProcessId(), .visibleOnly = true}));
}

}  // namespace
}  // namespace veltrano::e2e
