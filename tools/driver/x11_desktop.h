#pragma once
// The X11 desktop under Wine, through the native X tools (xdotool, xprop, ImageMagick's import):
// real pointer input, screen pixels and window properties as the X server sees them.
//
// Wine 8 starts a Unix program given to CreateProcessW detached: it returns no process handle,
// a process id of 0, and ignores STARTF_USESTDHANDLES (an inherited pipe receives nothing). The
// child inherits the environment (DISPLAY) and Wine's own Unix stdio. So each tool runs under
// /bin/sh with its output in temporary files and its exit status written last, and is waited for
// by polling that status file.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/waiting.h"

namespace veltrano::driver {

struct UnixToolResult {
    std::string output;  // stdout, raw bytes
    std::string errors;  // stderr, raw bytes
    int exitCode = 0;
};

// Runs a Unix program found through PATH with these arguments (each passed verbatim, UTF-8 on the
// Unix side) and waits for it. The program is stopped when it runs longer than the timeout.
// Throws when it cannot be started or its status does not arrive; a failing tool is no error here.
// Blocks the calling thread, so input meant for a window of that thread must come from another.
UnixToolResult RunUnixTool(const std::vector<std::wstring>& arguments, DWORD timeoutMs = kDefaultTimeoutMs);

// The same, but throws with the tool's stderr when it exits non-zero; gives stdout.
std::string RunUnixToolChecked(const std::vector<std::wstring>& arguments, DWORD timeoutMs = kDefaultTimeoutMs);

// One word for /bin/sh: single-quoted, so nothing in it is expanded.
std::wstring ShellQuoted(std::wstring_view argument);

// A Windows path as the Unix side names it (through Wine's drive mapping); throws outside Wine.
std::wstring UnixPathOf(const std::wstring& windowsPath);

// The RGB pixels of a screen rectangle, read from the X server (what is really on screen, after
// Wine has drawn it; X ignores the window opacity without a compositing manager).
class ScreenPixels {
public:
    ScreenPixels(int width, int height, std::string rgb);

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    // (x, y) relative to the captured rectangle's top-left corner; throws out of range.
    COLORREF At(int x, int y) const;

private:
    int width_;
    int height_;
    std::string rgb_;  // 3 bytes a pixel, rows top to bottom
};

// Throws when the rectangle is empty or the capture fails.
ScreenPixels CaptureScreen(const RECT& screenRect);

using X11WindowId = std::uint32_t;

// The X window that Wine made for a top-level window of any process (Wine keeps its id in the
// window property "__wine_x11_whole_window", readable from every process, set at creation).
// Throws when the window has none.
X11WindowId X11WindowOf(HWND window);

// _NET_WM_WINDOW_OPACITY of the window's X window, or nullopt when it is not set. Wine writes
// alpha * 0x01010101 for LWA_ALPHA and deletes the property for alpha 255.
std::optional<std::uint32_t> WindowOpacityProperty(HWND window);

// Real pointer input through the X server (XTEST), so it arrives as a user's would. Coordinates
// are screen pixels. Each returns once the X server has the events; the program under the pointer
// still has to fetch and dispatch them.
void MovePointer(POINT to);
void ClickAt(POINT at, int button = 1);  // X buttons: 1 left, 2 middle, 3 right
// Press the left button, move in a few steps (so motion is seen between press and release), release.
void DragWithLeftButton(POINT from, POINT to);
// Positive: notches up (away from the user, WM_MOUSEWHEEL delta +120 each); negative: down.
void TurnWheel(int notches);

}  // namespace veltrano::driver
