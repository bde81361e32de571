// The clipboard text window as the user meets it: shown from the settings, following the
// clipboard, dragged, faded with the wheel, switched between modes, hidden, and moved to the mouse.
#include "driver/clipboard_access.h"
#include "driver/message_boxes.h"
#include "driver/window_queries.h"
#include "driver/x11_desktop.h"
#include "program_fixture.h"

namespace veltrano::e2e {
namespace {

constexpr wchar_t kTextWindowClass[] = L"ClipboardTextWindowClass";
constexpr WORD kMoveToMouseCommand = 40013;
constexpr WORD kMovableCommand = 40021;
constexpr WORD kClickThroughCommand = 40023;
constexpr WORD kHideCommand = 40024;
constexpr DWORD kModeStyles = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// Shown at (100, 100), 400 x 200, the default frame of 6 pixels: 3 green, then 3 red.
constexpr wchar_t kShownSettings[] = L"[ClipboardTextWindow]\r\nUseClipboardTextWindow=true\r\n";

class TextWindow : public ProgramTest {
protected:
    driver::WindowQuery Query() const {
        return {.className = kTextWindowClass, .processId = ProcessId(), .visibleOnly = true};
    }
    HWND WaitForTextWindow() const { return driver::WaitForWindow(Query()); }
    int StoredInt(const wchar_t* key) const {
        return static_cast<int>(
            ::GetPrivateProfileIntW(L"ClipboardTextWindow", key, INT_MIN, SettingsPath().c_str()));
    }
    std::wstring StoredText(const wchar_t* key) const {
        wchar_t value[64] = L"";
        ::GetPrivateProfileStringW(L"ClipboardTextWindow", key, L"", value, 64, SettingsPath().c_str());
        return value;
    }
    // True once the stored value is `expected`, within the driver's timeout.
    bool StoredBecomes(const wchar_t* key, int expected) const {
        return driver::PollUntil(driver::kDefaultTimeoutMs, [&] { return StoredInt(key) == expected; });
    }
    static RECT Bounds(HWND window) {
        RECT bounds{};
        ::GetWindowRect(window, &bounds);
        return bounds;
    }
    static DWORD ExStyle(HWND window) { return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)); }
    // The window on screen, polled until `ready` holds for what is shown (it repaints by itself).
    template <typename Ready>
    static std::optional<driver::ScreenPixels> ScreenOnceReady(const RECT& area, Ready ready) {
        std::optional<driver::ScreenPixels> shown;
        driver::PollUntil(driver::kDefaultTimeoutMs, [&] {
            shown = driver::CaptureScreen(area);
            return ready(*shown);
        });
        return shown;
    }
};

TEST_F(TextWindow, OpensWithTheStoredGeometryOpacityAndModeStyles) {
    WriteSettings(std::wstring(kShownSettings) +
                  L"ClipboardTextWindowPosX=120\r\nClipboardTextWindowPosY=80\r\nClipboardTextWindowWidth=300\r\n"
                  L"ClipboardTextWindowHeight=150\r\nClipboardTextWindowOpacity=180\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND window = WaitForTextWindow();
    ASSERT_NE(window, nullptr) << "UseClipboardTextWindow=true showed no window";
    const RECT bounds = Bounds(window);
    EXPECT_EQ(bounds.left, 120);
    EXPECT_EQ(bounds.top, 80);
    EXPECT_EQ(bounds.right - bounds.left, 300);
    EXPECT_EQ(bounds.bottom - bounds.top, 150);
    EXPECT_EQ(ExStyle(window) & (kModeStyles | WS_EX_TRANSPARENT), kModeStyles);
    EXPECT_EQ(::GetWindow(window, GW_OWNER), MainWindow());
    EXPECT_EQ(driver::WindowOpacityProperty(window), 180u * 0x01010101u);

    // Click-through from the start: the mouse passes through it.
    Exit();
    WriteSettings(std::wstring(kShownSettings) +
                  L"ClipboardTextWindowResizable=false\r\nClipboardTextWindowTouchable=false\r\n");
    ASSERT_NO_FATAL_FAILURE(Restart());
    const HWND clickThrough = WaitForTextWindow();
    ASSERT_NE(clickThrough, nullptr);
    EXPECT_EQ(ExStyle(clickThrough) & (kModeStyles | WS_EX_TRANSPARENT), kModeStyles | WS_EX_TRANSPARENT);
}

TEST_F(TextWindow, ShowsCopiedTextInsideTheFrameAndTurnsBlankForAPrivateCopyOrAnImage) {
    WriteSettings(kShownSettings);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(WaitForTextWindow(), nullptr);
    const RECT window{100, 100, 500, 300};

    driver::SetClipboardText(L"■■ 機密 ■■");
    const auto framed = [](const driver::ScreenPixels& shown) {
        return shown.At(1, 100) == kGreen && shown.At(4, 100) == kRed;
    };
    const std::optional<driver::ScreenPixels> text = ScreenOnceReady(window, framed);
    ASSERT_TRUE(text && framed(*text)) << "no green and red frame after copying text";
    for (const POINT edge : {POINT{200, 0}, POINT{399, 50}, POINT{0, 199}}) {
        EXPECT_EQ(text->At(edge.x, edge.y), kGreen) << edge.x << "," << edge.y;
    }
    EXPECT_EQ(text->At(200, 5), kRed);
    int dark = 0;
    int white = 0;
    for (int y = 6; y < 194; ++y) {
        for (int x = 6; x < 394; ++x) {
            const COLORREF pixel = text->At(x, y);
            dark += GetRValue(pixel) < 64 && GetGValue(pixel) < 64 && GetBValue(pixel) < 64;
            white += pixel == kWhite;
        }
    }
    EXPECT_GT(dark, 100) << "no black text inside the frame";
    EXPECT_GT(white, 100) << "no white background inside the frame";

    const auto blank = [](const driver::ScreenPixels& shown) {
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x)
                if (shown.At(x, y) != kWhite) return false;
        return true;
    };
    driver::SetClipboardText(L"■■ パスワード ■■", {.excludeFromMonitoring = true});
    const std::optional<driver::ScreenPixels> hidden = ScreenOnceReady(window, blank);
    EXPECT_TRUE(hidden && blank(*hidden)) << "a private copy must not be shown, nor the text before it";

    driver::SetClipboardText(L"■■ 機密 ■■");
    const std::optional<driver::ScreenPixels> again = ScreenOnceReady(window, framed);
    ASSERT_TRUE(again && framed(*again));
    driver::SetClipboardImage();
    const std::optional<driver::ScreenPixels> image = ScreenOnceReady(window, blank);
    EXPECT_TRUE(image && blank(*image)) << "an image on the clipboard must leave a plain white window";
}

TEST_F(TextWindow, DragMovesAndWheelFadesAndBothAreStored) {
    WriteSettings(kShownSettings);
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND window = WaitForTextWindow();
    ASSERT_NE(window, nullptr);

    driver::DragWithLeftButton({300, 200}, {350, 260});
    ASSERT_TRUE(StoredBecomes(L"ClipboardTextWindowPosX", 150)) << StoredInt(L"ClipboardTextWindowPosX");
    EXPECT_TRUE(StoredBecomes(L"ClipboardTextWindowPosY", 160));
    EXPECT_EQ(Bounds(window).left, 150);
    EXPECT_EQ(StoredText(L"ClipboardTextWindowWidth"), L"400") << "a move keeps the size";

    driver::MovePointer({350, 260});
    driver::TurnWheel(2);
    ASSERT_TRUE(StoredBecomes(L"ClipboardTextWindowOpacity", 230)) << StoredInt(L"ClipboardTextWindowOpacity");
    EXPECT_EQ(driver::WindowOpacityProperty(window), 230u * 0x01010101u);
    driver::TurnWheel(-1);
    EXPECT_TRUE(StoredBecomes(L"ClipboardTextWindowOpacity", 215));
}

TEST_F(TextWindow, ModeCommandsAndHide) {
    WriteSettings(kShownSettings);
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND window = WaitForTextWindow();
    ASSERT_NE(window, nullptr);

    driver::SendCommand(MainWindow(), kClickThroughCommand);
    EXPECT_TRUE(ExStyle(window) & WS_EX_TRANSPARENT);
    EXPECT_EQ(StoredText(L"ClipboardTextWindowResizable"), L"false");
    EXPECT_EQ(StoredText(L"ClipboardTextWindowTouchable"), L"false");
    driver::SendCommand(MainWindow(), kMovableCommand);
    EXPECT_FALSE(ExStyle(window) & WS_EX_TRANSPARENT);
    EXPECT_EQ(StoredText(L"ClipboardTextWindowResizable"), L"true");

    driver::SendCommand(MainWindow(), kHideCommand);
    EXPECT_TRUE(driver::WaitForNoWindow({.className = kTextWindowClass, .processId = ProcessId()}));
    EXPECT_EQ(StoredText(L"UseClipboardTextWindow"), L"false");

    // Hidden, it stays hidden at the next start.
    Exit();
    ASSERT_NO_FATAL_FAILURE(Restart());
    EXPECT_TRUE(driver::FindTopLevelWindows({.className = kTextWindowClass, .processId = ProcessId()}).empty());
}

TEST_F(TextWindow, MoveToMouseAsksAndCentresTheWindowOnYes) {
    WriteSettings(kShownSettings);
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND window = WaitForTextWindow();
    ASSERT_NE(window, nullptr);
    driver::MovePointer({700, 500});

    const std::wstring caption = L"クリップボード表示ウィンドウの移動の確認 - Veltrano";
    driver::PostCommand(MainWindow(), kMoveToMouseCommand);
    EXPECT_EQ(Utf8(TakeMessageBox(caption, IDNO)),
              Utf8(L"クリップボード表示ウィンドウを、マウスカーソルの位置に移動します。\nよろしいですか？"));
    EXPECT_FALSE(driver::PollUntil(500, [&] { return Bounds(window).left != 100; })) << "No must not move it";

    driver::PostCommand(MainWindow(), kMoveToMouseCommand);
    TakeMessageBox(caption, IDYES);
    ASSERT_TRUE(StoredBecomes(L"ClipboardTextWindowPosX", 500)) << StoredInt(L"ClipboardTextWindowPosX");
    EXPECT_TRUE(StoredBecomes(L"ClipboardTextWindowPosY", 400));
    EXPECT_EQ(Bounds(window).left, 500);
    EXPECT_EQ(Bounds(window).top, 400);
}

}  // namespace
}  // namespace veltrano::e2e
