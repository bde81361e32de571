// The clipboard text window as a real window in this process: geometry, modes, commands,
// wheel, persistence and clicks. The clipboard and the move question are seams.
#include "textwindow/clipboard_text_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "resource.h"
#include "support/answering_question.h"
#include "support/fake_clipboard.h"
#include "support/temp_folder.h"

namespace veltrano {
namespace {

constexpr DWORD kModeStyles = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

struct RecordingPage final : TextWindowPageSync {
    void ShowPosition(int x, int y) override { positions.push_back({x, y}); }
    void ShowSize(int width, int height) override { sizes.push_back({width, height}); }
    void ShowOpacity(int opacity) override { opacities.push_back(opacity); }
    std::vector<POINT> positions;
    std::vector<SIZE> sizes;
    std::vector<int> opacities;
};

class ClipboardTextWindowTest : public ::testing::Test {
protected:
    void Store(const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(settings.Ini().WriteString(section::kClipboardTextWindow, key, value));
    }
    std::wstring Stored(const wchar_t* key) const {
        return settings.Ini().ReadString(section::kClipboardTextWindow, key, L"");
    }
    RECT Bounds() const {
        RECT bounds{};
        ::GetWindowRect(window.Handle(), &bounds);
        return bounds;
    }
    DWORD ExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(window.Handle(), GWL_EXSTYLE)); }
    BYTE Alpha() const {
        BYTE alpha = 0;
        DWORD flags = 0;
        ::GetLayeredWindowAttributes(window.Handle(), nullptr, &alpha, &flags);
        return alpha;
    }

    test::TempFolder folder;
    Settings settings{folder / L"taro_Veltrano.ini"};
    test::FakeClipboard clipboard;
    test::AnsweringQuestion question{false};
    std::vector<TrayButton> clicks;
    int speechStops = 0;
    int errors = 0;
    std::vector<DWORD> affinities;
    bool refuseExclusion = true;  // as a system before Windows 10 2004
    ClipboardTextWindow window{::GetModuleHandleW(nullptr), settings, clipboard, question,
                               {.runClick = [this](TrayButton click) { clicks.push_back(click); },
                                .stopSpeech = [this] { ++speechStops; },
                                .reportError = [this] { ++errors; }},
                               [this](HWND, DWORD affinity) {
                                   affinities.push_back(affinity);
                                   return !(refuseExclusion && affinity == WDA_EXCLUDEFROMCAPTURE);
                               }};
};

TEST_F(ClipboardTextWindowTest, OpensWithTheStoredGeometryClampedAndTheModesStyles) {
    Store(L"ClipboardTextWindowPosX", L"-40");
    Store(L"ClipboardTextWindowPosY", L"60");
    Store(L"ClipboardTextWindowWidth", L"20");
    Store(L"ClipboardTextWindowHeight", L"100");
    Store(L"ClipboardTextWindowOpacity", L"5");
    clipboard.text = L"機密";
    ASSERT_TRUE(window.ShowTextWindow(nullptr));

    const RECT bounds = Bounds();
    EXPECT_EQ(bounds.left, -40);
    EXPECT_EQ(bounds.top, 60);
    EXPECT_EQ(bounds.right - bounds.left, 32) << "a stored width of 20 gives 32";
    EXPECT_EQ(bounds.bottom - bounds.top, 100);
    EXPECT_EQ(Alpha(), 8) << "a stored opacity of 5 gives 8";
    EXPECT_EQ(ExStyle() & (kModeStyles | WS_EX_TRANSPARENT), kModeStyles);
    EXPECT_TRUE(::IsWindowVisible(window.Handle()));
    EXPECT_EQ(::GetClassLongPtrW(window.Handle(), GCL_STYLE) & CS_DBLCLKS, static_cast<ULONG_PTR>(CS_DBLCLKS));
    EXPECT_EQ(clipboard.readOwners.size(), 1u);
    // Kept out of screen captures; a system that refuses that blacks it out instead.
    EXPECT_EQ(affinities, (std::vector<DWORD>{WDA_EXCLUDEFROMCAPTURE, WDA_MONITOR}));

    Store(L"ClipboardTextWindowResizable", L"false");
    Store(L"ClipboardTextWindowTouchable", L"false");
    ASSERT_TRUE(window.ShowTextWindow(nullptr)) << "shown again: the old window goes, a new one comes";
    EXPECT_EQ(ExStyle() & (kModeStyles | WS_EX_TRANSPARENT), kModeStyles | WS_EX_TRANSPARENT);

    affinities.clear();
    refuseExclusion = false;
    ASSERT_TRUE(window.ShowTextWindow(nullptr));
    EXPECT_EQ(affinities, (std::vector<DWORD>{WDA_EXCLUDEFROMCAPTURE}));
    affinities.clear();
    Store(L"ClipboardTextWindowHideFromCapture", L"false");
    ASSERT_TRUE(window.ShowTextWindow(nullptr));
    EXPECT_TRUE(affinities.empty());
}

TEST_F(ClipboardTextWindowTest, MenuCommandsSwitchModesHideAndShowAgain) {
    window.OnMenuCommand(IDM_TEXT_WINDOW_CLICK_THROUGH, nullptr);
    ASSERT_TRUE(window.Exists()) << "a mode command shows a missing window";
    EXPECT_EQ(Stored(L"UseClipboardTextWindow"), L"true");
    EXPECT_EQ(Stored(L"ClipboardTextWindowResizable"), L"false");
    EXPECT_EQ(Stored(L"ClipboardTextWindowTouchable"), L"false");
    EXPECT_TRUE(ExStyle() & WS_EX_TRANSPARENT);

    const HWND first = window.Handle();
    window.OnMenuCommand(IDM_TEXT_WINDOW_FIXED, nullptr);
    EXPECT_EQ(window.Handle(), first) << "an open window changes mode in place";
    EXPECT_FALSE(ExStyle() & WS_EX_TRANSPARENT);
    EXPECT_EQ(Stored(L"ClipboardTextWindowTouchable"), L"true");

    window.OnMenuCommand(IDM_TEXT_WINDOW_MOVABLE, nullptr);
    EXPECT_EQ(Stored(L"ClipboardTextWindowResizable"), L"true");

    window.OnMenuCommand(IDM_TEXT_WINDOW_HIDE, nullptr);
    EXPECT_FALSE(window.Exists());
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(Stored(L"UseClipboardTextWindow"), L"false");

    window.OnMenuCommand(IDM_TEXT_WINDOW_MOVE_TO_MOUSE, nullptr);
    EXPECT_TRUE(question.asked.empty()) << "no window, no question";
}

TEST_F(ClipboardTextWindowTest, MoveToMouseAsksFirstAndCentresOnYes) {
    Store(L"ClipboardTextWindowWidth", L"401");
    Store(L"ClipboardTextWindowHeight", L"201");
    ASSERT_TRUE(window.ShowTextWindow(nullptr));
    ASSERT_TRUE(::SetCursorPos(500, 300));

    window.OnMenuCommand(IDM_TEXT_WINDOW_MOVE_TO_MOUSE, nullptr);
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0],
              L"クリップボード表示ウィンドウの移動の確認 - Veltrano|"
              L"クリップボード表示ウィンドウを、マウスカーソルの位置に移動します。\nよろしいですか？");
    EXPECT_EQ(Bounds().left, 100) << "No leaves the window where it was";

    question.answer = true;
    window.OnMenuCommand(IDM_TEXT_WINDOW_MOVE_TO_MOUSE, nullptr);
    EXPECT_EQ(Bounds().left, 300);
    EXPECT_EQ(Bounds().top, 200);
    EXPECT_EQ(Stored(L"ClipboardTextWindowPosX"), L"300") << "the move is stored like any other";
    EXPECT_EQ(Stored(L"ClipboardTextWindowPosY"), L"200");

    ::ShowWindow(window.Handle(), SW_HIDE);
    window.OnMenuCommand(IDM_TEXT_WINDOW_MOVE_TO_MOUSE, nullptr);
    EXPECT_EQ(question.asked.size(), 2u) << "a hidden window is not moved";
}

TEST_F(ClipboardTextWindowTest, WheelMovesAndSizesAreStoredAndShownOnTheOpenPage) {
    ASSERT_TRUE(window.ShowTextWindow(nullptr));
    RecordingPage page;
    window.AttachPageSync(&page);

    ::SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(Alpha(), 200) << "half a notch changes nothing";
    ::SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(Alpha(), 215);
    EXPECT_EQ(Stored(L"ClipboardTextWindowOpacity"), L"215");
    EXPECT_EQ(page.opacities, std::vector<int>{215});

    ::SetWindowPos(window.Handle(), nullptr, -300, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Stored(L"ClipboardTextWindowPosX"), L"-300");
    EXPECT_EQ(Stored(L"ClipboardTextWindowPosY"), L"20");
    ASSERT_FALSE(page.positions.empty());
    EXPECT_EQ(page.positions.back().x, -300);

    ::SetWindowPos(window.Handle(), nullptr, 0, 0, 500, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Stored(L"ClipboardTextWindowWidth"), L"500");
    EXPECT_EQ(Stored(L"ClipboardTextWindowHeight"), L"250");
    ASSERT_FALSE(page.sizes.empty());
    EXPECT_EQ(page.sizes.back().cx, 500);

    window.AttachPageSync(nullptr);
    ::SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
    EXPECT_EQ(Stored(L"ClipboardTextWindowOpacity"), L"200");
    EXPECT_EQ(page.opacities.size(), 1u) << "a closed page hears nothing";
}

TEST_F(ClipboardTextWindowTest, ClicksRunTrayClicksAndReleasesStopSpeech) {
    ASSERT_TRUE(window.ShowTextWindow(nullptr));
    const HWND handle = window.Handle();
    ::SendMessageW(handle, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 50));
    ::SendMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    ::SendMessageW(handle, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 50));
    ::SendMessageW(handle, WM_RBUTTONUP, 0, MAKELPARAM(50, 50));
    ::SendMessageW(handle, WM_MBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(clicks, (std::vector{TrayButton::Left, TrayButton::Right, TrayButton::Middle}));
    EXPECT_EQ(speechStops, 3);
    EXPECT_EQ(errors, 0);
}

TEST_F(ClipboardTextWindowTest, EdgesGripOnlyInMovableMode) {
    Store(L"ClipboardTextWindowPosX", L"100");
    Store(L"ClipboardTextWindowPosY", L"100");
    ASSERT_TRUE(window.ShowTextWindow(nullptr));
    const auto hit = [&](int x, int y) {
        return ::SendMessageW(window.Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    EXPECT_EQ(hit(100, 100), HTTOPLEFT);
    EXPECT_EQ(hit(300, 200), HTCLIENT);
    EXPECT_EQ(hit(499, 200), HTRIGHT);

    window.OnMenuCommand(IDM_TEXT_WINDOW_FIXED, nullptr);
    EXPECT_EQ(hit(100, 100), HTCLIENT);
}

}  // namespace
}  // namespace veltrano
