// The About box: its controls, the one-dialog-at-a-time rule, its close button, and the program
// icon's frames it and the tray draw from.
#include <cstring>
#include <map>

#include "base/scope_exit.h"
#include "base/text_encoding.h"
#include "driver/message_boxes.h"
#include "driver/program_folder.h"
#include "driver/waiting.h"
#include "driver/window_queries.h"
#include "program_fixture.h"
#include "version.h"

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
    EXPECT_EQ(unnamed, (std::vector<std::string>{"Veltrano Version " VELTRANO_VERSION, "Copyright (C) The Veltrano authors"}));

    const HWND icon = ::GetDlgItem(box, 2001);
    EXPECT_NE(::SendMessageW(icon, STM_GETICON, 0, 0), 0) << "the program icon was not set";
    EXPECT_EQ(::GetWindow(box, GW_OWNER), MainWindow());

    // The self-test button writes the report and asks the shell to open it. No program opens text
    // files in the test prefix, so the user is told where the report is instead.
    ASSERT_EQ(controls.count(2003), 1u);
    EXPECT_EQ(Utf8(controls.find(2003)->second), Utf8(L"動作チェック(&T)"));
    driver::PressButton(box, 2003);
    const std::wstring report = DataPath(L"_selftest.txt");
    EXPECT_EQ(Utf8(TakeMessageBox(L"動作チェック - Veltrano")), Utf8(L"動作チェックのレポートを開けませんでした。\n\n" + report));
    EXPECT_TRUE(driver::ReadFileBytes(report).starts_with("\xEF\xBB\xBFVeltrano"));
    EXPECT_TRUE(driver::PollUntil(5000, [&] { return ::IsWindowEnabled(::GetDlgItem(box, 2003)) != FALSE; }));

    driver::PressButton(box, IDOK);
    EXPECT_TRUE(driver::WaitForNoWindow(AboutQuery()));
}

// The width of the frame Windows takes from the program's icon to draw it `size` pixels wide.
int ChosenFrameWidth(HMODULE program, int size) {
    const HRSRC group = ::FindResourceW(program, MAKEINTRESOURCEW(103), RT_GROUP_ICON);
    auto* const directory = static_cast<BYTE*>(::LockResource(::LoadResource(program, group)));
    if (!directory) return 0;
    const int id = ::LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    const HRSRC frame = ::FindResourceW(program, MAKEINTRESOURCEW(id), RT_ICON);
    const auto* const bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(program, frame)));
    if (!bytes) return 0;
    if (std::memcmp(bytes, "\x89PNG", 4) == 0) return (bytes[16] << 24) | (bytes[17] << 16) | (bytes[18] << 8) | bytes[19];
    return reinterpret_cast<const BITMAPINFOHEADER*>(bytes)->biWidth;
}

// Small icons at 100 % to 200 % scale and large ones up to 64 pixels have a frame of their own;
// the About box halves the 256-pixel frame for its 128-pixel image.
TEST(ProgramIcon, EveryScaleHasItsFrameAndTheLargestIsThere) {
    const std::wstring path = driver::WindowsPathFromHost(Utf8ToWide(VELTRANO_EXE_HOST_PATH));
    const HMODULE program = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const ScopeExit unload([&] { ::FreeLibrary(program); });
    for (const int size : {16, 20, 24, 32, 40, 48, 64}) EXPECT_EQ(ChosenFrameWidth(program, size), size);
    EXPECT_EQ(ChosenFrameWidth(program, 256), 256);
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
