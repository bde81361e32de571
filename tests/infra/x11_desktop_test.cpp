// The driver's X11 tools against a window of this process: what they read and the input they
// make must match what Windows and the window itself see.
#include "driver/x11_desktop.h"

#include <windows.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "base/unique_any.h"

namespace veltrano::driver {
namespace {

constexpr COLORREF kFill = RGB(0x30, 0x90, 0xE0);  // three different channels: an order mix-up shows
constexpr BYTE kAlpha = 200;
constexpr RECT kWindowRect = {200, 150, 440, 310};

struct MouseMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    POINT client{};  // screen coordinates for WM_MOUSEWHEEL
};

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// A tool call blocks its thread; this thread keeps handling its window's messages meanwhile,
// as a real program would.
template <typename Action>
void RunWhilePumping(Action action) {
    const UniqueHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(done);
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            action();
        } catch (...) {
            failure = std::current_exception();
        }
        ::SetEvent(done.Get());
    });
    const HANDLE handle = done.Get();
    while (::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) Pump();
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

template <typename Condition>
bool PumpUntil(Condition condition) {
    return PollUntil(kDefaultTimeoutMs, [&] {
        Pump();
        return condition();
    });
}

class X11DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &WindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = brush_.Get();
        windowClass.lpszClassName = kClassName;
        ASSERT_NE(::RegisterClassW(&windowClass), 0);
        window_ = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST, kClassName, L"x11 desktop test", WS_POPUP,
                                    kWindowRect.left, kWindowRect.top, kWindowRect.right - kWindowRect.left,
                                    kWindowRect.bottom - kWindowRect.top, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&messages_));
        ASSERT_TRUE(::SetLayeredWindowAttributes(window_, 0, kAlpha, LWA_ALPHA));
        // Shown inactive: Wine hands a window shown active to the window manager, and destroying
        // it then waits 2 s for a withdrawal that no window manager sends on a bare X server.
        ::ShowWindow(window_, SW_SHOWNOACTIVATE);
        ::UpdateWindow(window_);
    }

    void TearDown() override {
        if (window_) ::DestroyWindow(window_);
        ::UnregisterClassW(kClassName, ::GetModuleHandleW(nullptr));
    }

    static POINT ScreenPoint(int clientX, int clientY) { return {kWindowRect.left + clientX, kWindowRect.top + clientY}; }

    bool Received(UINT message) const {
        return std::any_of(messages_.begin(), messages_.end(), [&](const MouseMessage& m) { return m.message == message; });
    }

    std::vector<MouseMessage> Only(std::initializer_list<UINT> kinds) const {
        std::vector<MouseMessage> selected;
        std::copy_if(messages_.begin(), messages_.end(), std::back_inserter(selected), [&](const MouseMessage& m) {
            return std::find(kinds.begin(), kinds.end(), m.message) != kinds.end();
        });
        return selected;
    }

    HWND window_ = nullptr;
    std::vector<MouseMessage> messages_;

private:
    static constexpr wchar_t kClassName[] = L"VeltranoX11DesktopTest";

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* messages = reinterpret_cast<std::vector<MouseMessage>*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEWHEEL:
            if (messages) messages->push_back({message, wParam, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}});
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
    }

    UniqueAny<NullInvalidTraits<HBRUSH, detail::DeleteGdiObject>> brush_{::CreateSolidBrush(kFill)};
};

TEST(UnixTool, PassesEveryArgumentVerbatim) {
    const UnixToolResult result = RunUnixTool(
        {L"printf", L"[%s]", L"two words", L"it's", L"\"quoted\"", L"back\\slash", L"tail\\", L"$HOME `x`", L"",
         L"日本語"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "[two words][it's][\"quoted\"][back\\slash][tail\\][$HOME `x`][][日本語]");
    EXPECT_EQ(result.errors, "");
}

TEST(UnixTool, ReportsExitCodeAndErrorsApart) {
    const UnixToolResult result = RunUnixTool({L"sh", L"-c", L"echo out; echo oops >&2; exit 7"});
    EXPECT_EQ(result.exitCode, 7);
    EXPECT_EQ(result.output, "out\n");
    EXPECT_EQ(result.errors, "oops\n");
    EXPECT_THROW(RunUnixToolChecked({L"sh", L"-c", L"exit 3"}), std::runtime_error);
}

TEST(UnixTool, StopsAToolThatOutrunsItsTimeout) {
    // 124: what timeout(1) reports for a program it had to stop.
    EXPECT_EQ(RunUnixTool({L"sleep", L"600"}, 300).exitCode, 124);
}

TEST_F(X11DesktopTest, CapturedPixelsShowTheWindowAtItsPlace) {
    // Straddles the window's top-left corner, so pixels left of it and above it are not the fill.
    constexpr int kLeftMargin = 8;
    constexpr int kTopMargin = 4;
    const RECT region = {kWindowRect.left - kLeftMargin, kWindowRect.top - kTopMargin, kWindowRect.left + 24,
                         kWindowRect.top + 12};
    std::optional<ScreenPixels> pixels;
    RunWhilePumping([&] { pixels = CaptureScreen(region); });

    ASSERT_EQ(pixels->Width(), 32);
    ASSERT_EQ(pixels->Height(), 16);
    for (int y = 0; y < pixels->Height(); ++y) {
        for (int x = 0; x < pixels->Width(); ++x) {
            const bool inside = x >= kLeftMargin && y >= kTopMargin;
            EXPECT_EQ(pixels->At(x, y) == kFill, inside) << "pixel " << x << "," << y << " is " << std::hex
                                                         << pixels->At(x, y);
        }
    }
    EXPECT_THROW(pixels->At(32, 0), std::out_of_range);
}

TEST_F(X11DesktopTest, OpacityPropertyFollowsTheLayeredAlpha) {
    std::optional<std::uint32_t> opacity;
    RunWhilePumping([&] { opacity = WindowOpacityProperty(window_); });
    EXPECT_EQ(opacity, std::optional<std::uint32_t>(kAlpha * 0x01010101u));

    // Fully opaque: Wine removes the property.
    ASSERT_TRUE(::SetLayeredWindowAttributes(window_, 0, 255, LWA_ALPHA));
    RunWhilePumping([&] { opacity = WindowOpacityProperty(window_); });
    EXPECT_EQ(opacity, std::nullopt);
}

TEST_F(X11DesktopTest, DragDeliversPressMotionAndRelease) {
    RunWhilePumping([] { DragWithLeftButton(ScreenPoint(20, 30), ScreenPoint(140, 90)); });
    ASSERT_TRUE(PumpUntil([&] { return Received(WM_LBUTTONUP); }));

    const auto sequence = Only({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP});
    const auto down = std::find_if(sequence.begin(), sequence.end(),
                                   [](const MouseMessage& m) { return m.message == WM_LBUTTONDOWN; });
    ASSERT_NE(down, sequence.end());
    EXPECT_EQ(down->client.x, 20);
    EXPECT_EQ(down->client.y, 30);
    const auto draggedToEnd = std::find_if(down, sequence.end(), [](const MouseMessage& m) {
        return m.message == WM_MOUSEMOVE && (m.wParam & MK_LBUTTON) && m.client.x == 140 && m.client.y == 90;
    });
    EXPECT_NE(draggedToEnd, sequence.end());
    const auto up = std::find_if(down, sequence.end(), [](const MouseMessage& m) { return m.message == WM_LBUTTONUP; });
    ASSERT_NE(up, sequence.end());
    EXPECT_EQ(up->client.x, 140);
    EXPECT_EQ(up->client.y, 90);
}

TEST_F(X11DesktopTest, WheelNotchesReachTheWindowUnderThePointer) {
    // The window is not active: like Windows 10, Wine 8 sends the wheel to the window under the
    // pointer, not to the focus.
    RunWhilePumping([] { MovePointer(ScreenPoint(60, 50)); });
    ASSERT_TRUE(PumpUntil([&] {
        const auto moves = Only({WM_MOUSEMOVE});
        return !moves.empty() && moves.back().client.x == 60 && moves.back().client.y == 50;
    }));

    RunWhilePumping([] {
        TurnWheel(1);
        TurnWheel(-2);
    });
    ASSERT_TRUE(PumpUntil([&] { return Only({WM_MOUSEWHEEL}).size() >= 3; }));
    std::vector<int> deltas;
    for (const auto& wheel : Only({WM_MOUSEWHEEL})) deltas.push_back(GET_WHEEL_DELTA_WPARAM(wheel.wParam));
    EXPECT_EQ(deltas, (std::vector<int>{WHEEL_DELTA, -WHEEL_DELTA, -WHEEL_DELTA}));
}

}  // namespace
}  // namespace veltrano::driver
