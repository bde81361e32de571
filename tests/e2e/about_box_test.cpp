// The About box: its controls, the one-dialog-at-a-time rule, and its close button.
#include <map>

#include "driver/message_boxes.h"
#include "driver/window_queries.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr WORD kAboutCommand = 40002;
constexpr WORD kSettingsCommand = 40004;
constexpr wchar_t kAboutCaption[] = L"バージョン情報 - Veltrano";

class AboutBox : public ProgramTest {
protected:
    driver::WindowQuery AboutQuery() const {
        return {.className = driver::kDialogClass, .caption = kAboutCaption, .processId = ProcessId(), .visibleOnly = true};
    }
    // Every visible top-level window of the program other than its hidden main window.
    std::vector<driver::WindowInfo> VisibleWindows() const {
        return driver::FindTopLevelWindows({.processId = ProcessId(), .visibleOnly = true});
    }
};

TEST_F(AboutBox, ShowsIconNameVersionRightsLineAndLink) {
    ASSERT_NO_FATAL_FAILURE(Start());
    driver::PostCommand(MainWindow(), kAboutCommand);
    const HWND box = driver::WaitForWindow(AboutQuery());
    ASSERT_NE(box, nullptr) << "40002 opened no About box";

    std::multimap<WORD, std::wstring> controls;  // an unnamed control's id reads as 0xFFFF
    for (const driver::WindowInfo& child : driver::ChildWindowsOf(box))
        controls.emplace(static_cast<WORD>(::GetDlgCtrlID(child.handle)), child.caption);
    EXPECT_EQ(controls.count(2001), 1u);
    ASSERT_EQ(controls.count(2002), 1u);
    EXPECT_EQ(Utf8(controls.find(2002)->second), "URL : https://veltrano.example/");
    ASSERT_EQ(controls.count(IDOK), 1u);
    EXPECT_EQ(Utf8(controls.find(IDOK)->second), Utf8(L"閉じる"));
    std::vector<std::string> unnamed;
    for (auto [it, end] = controls.equal_range(0xFFFF); it != end; ++it) unnamed.push_back(Utf8(it->second));
    EXPECT_EQ(unnamed, (std::vector<std::string>{"Veltrano Version 1.01", "Copyright (C) The Veltrano authors"}));

    const HWND icon = ::GetDlgItem(box, 2001);
    EXPECT_NE(::SendMessageW(icon, STM_GETICON, 0, 0), 0) << "the program icon was not set";
    EXPECT_EQ(::GetWindow(box, GW_OWNER), MainWindow());

    driver::PressButton(box, IDOK);
    EXPECT_TRUE(driver::WaitForNoWindow(AboutQuery()));
}

TEST_F(AboutBox, OpenBoxIgnoresAboutAndSettingsCommandsAndCloseEndsIt) {
    ASSERT_NO_FATAL_FAILURE(Start());
    driver::PostCommand(MainWindow(), kAboutCommand);
    const HWND box = driver::WaitForWindow(AboutQuery());
    ASSERT_NE(box, nullptr);
    const size_t windowsWithBox = VisibleWindows().size();

    driver::PostCommand(MainWindow(), kAboutCommand);
    driver::PostCommand(MainWindow(), kSettingsCommand);
    // Nothing new may appear: a second box or any other window would raise the count.
    EXPECT_FALSE(driver::PollUntil(1500, [&] { return VisibleWindows().size() > windowsWithBox; }));
    EXPECT_EQ(driver::FindTopLevelWindows(AboutQuery()).size(), 1u);

    driver::PressButton(box, IDOK);
    EXPECT_TRUE(driver::WaitForNoWindow(AboutQuery()));

    // Closed, the rule no longer holds it back: the command opens the box again.
    driver::PostCommand(MainWindow(), kAboutCommand);
    const HWND again = driver::WaitForWindow(AboutQuery());
    ASSERT_NE(again, nullptr) << "the About box did not open again after it was closed";
    driver::PressButton(again, IDOK);
    EXPECT_TRUE(driver::WaitForNoWindow(AboutQuery()));
}

}  // namespace
}  // namespace veltrano::e2e
