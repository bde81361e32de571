// Start, single instance and exit of the real program.
#include <algorithm>
#include <functional>
#include <string>

#include "driver/clipboard_access.h"
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

// Started at logon by both the installer's Run value and the Startup shortcut, the second keeps quiet.
TEST_F(ProgramStart, SecondStartWarnsOnceAndLeavesFirstRunning) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(driver::WaitForExit(StartAnother(L"/Logon").process.Get()), std::optional<DWORD>(0));
    EXPECT_TRUE(driver::FindMessageBoxes(kProductName).empty());
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

// From an empty program folder: one notice at the first start, card numbers guarded with no
// setting made, a keyword added to the file while running warned about at the next copy; the
// next start says nothing.
TEST_F(ProgramStart, AFirstStartGuardsOutOfTheBoxAndTakesListEditsAtOnce) {
    const std::string notice = Utf8(
        L"Veltrano がクリップボードの監視を始めました。カード番号とマイナンバーを検出します。設定はトレイアイコンの右クリックから。");
    const auto balloonSaying = [&](const std::function<bool(const std::string&)>& text,
                                   DWORD timeoutMs = driver::kDefaultTimeoutMs) {
        return driver::PollUntil(timeoutMs, [&] {
            const auto balloons = Balloons();
            return std::any_of(balloons.begin(), balloons.end(), [&](const auto& balloon) { return text(Utf8(balloon.text)); });
        });
    };
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(balloonSaying([&](const std::string& text) { return text == notice; })) << "no first-start notice";

    driver::SetClipboardText(L"カード 4111 1111 1111 1111 で支払い");
    EXPECT_TRUE(balloonSaying([](const std::string& text) { return text.starts_with(Utf8(L"一致部分: ")); }))
        << "a card number passed unwarned";

    WriteDataText(L"_wildcard_keywords.txt", L"*veltrano-first*\n");
    driver::SetClipboardText(L"the veltrano-first keyword");
    EXPECT_TRUE(balloonSaying([](const std::string& text) { return text.find("*veltrano-first*") != std::string::npos; }))
        << "the keyword added while running was not searched";

    ASSERT_NO_FATAL_FAILURE(Exit());
    ASSERT_NO_FATAL_FAILURE(Restart());
    EXPECT_FALSE(balloonSaying([&](const std::string& text) { return text == notice; }, 3000)) << "the notice came again";
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
