#include "textwindow/clipboard_text_window.h"

#include <windowsx.h>

#include "base/dc_owners.h"
#include "base/window_binding.h"
#include "resource.h"
#include "textwindow/text_image.h"
#include "textwindow/text_window_paint.h"

namespace veltrano {
namespace {

constexpr wchar_t kWindowClass[] = L"ClipboardTextWindowClass";
constexpr wchar_t kMoveQuestion[] =
    L"クリップボード表示ウィンドウを、マウスカーソルの位置に移動します。\nよろしいですか？";
constexpr wchar_t kMoveCaption[] = L"クリップボード表示ウィンドウの移動の確認 - Veltrano";
constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

SIZE ClientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

}  // namespace

bool SetSystemDisplayAffinity(HWND window, DWORD affinity) {
    return ::SetWindowDisplayAffinity(window, affinity) != FALSE;
}

ClipboardTextWindow::ClipboardTextWindow(HINSTANCE instance, Settings& settings, ClipboardReader& clipboard,
                                         YesNoQuestion& moveQuestion, TextWindowActions actions,
                                         DisplayAffinitySetter setDisplayAffinity)
    : instance_(instance),
      settings_(settings),
      clipboard_(clipboard),
      moveQuestion_(moveQuestion),
      actions_(std::move(actions)),
      setDisplayAffinity_(std::move(setDisplayAffinity)) {}

ClipboardTextWindow::~ClipboardTextWindow() { DestroyTextWindow(); }

bool ClipboardTextWindow::ShowTextWindow(HWND owner) {
    DestroyTextWindow();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!::GetClassInfoExW(instance_, kWindowClass, &windowClass)) {
        windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &ClipboardTextWindow::WindowProc;
        windowClass.hInstance = instance_;
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kWindowClass;
        if (!::RegisterClassExW(&windowClass)) return false;
    }

    const bool clickThrough = !settings_.ClipboardTextWindowResizable() && !settings_.ClipboardTextWindowTouchable();
    const DWORD exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | (clickThrough ? WS_EX_TRANSPARENT : 0);
    const int opacity = settings_.ClipboardTextWindowOpacity();
    if (!::CreateWindowExW(exStyle, kWindowClass, L"", WS_POPUP, settings_.ClipboardTextWindowPosX(),
                           settings_.ClipboardTextWindowPosY(), settings_.ClipboardTextWindowWidth(),
                           settings_.ClipboardTextWindowHeight(), owner, nullptr, instance_, this)) {
        return false;
    }
    ApplyOpacity(opacity);
    if (settings_.ClipboardTextWindowHideFromCapture()) HideFromCapture();
    if (const std::optional<ClipboardText> read = clipboard_.Read(owner); read && Exists()) SetText(read->text);
    if (!Exists()) return false;
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    return true;
}

void ClipboardTextWindow::HideFromCapture() {
    // Screen shares and recordings would broadcast whatever the user copies. Older systems
    // refuse the exclusion but can black the window out; with neither it stays as it is.
    if (!setDisplayAffinity_(window_, WDA_EXCLUDEFROMCAPTURE)) setDisplayAffinity_(window_, WDA_MONITOR);
}

void ClipboardTextWindow::DestroyTextWindow() {
    if (window_) ::DestroyWindow(window_);
    window_ = nullptr;
}

void ClipboardTextWindow::UpdateText(std::wstring_view text) {
    if (Exists()) SetText(text);
}

void ClipboardTextWindow::ClearText() {
    if (Exists()) SetText({});
}

void ClipboardTextWindow::SetText(std::wstring_view text) {
    image_.reset();
    image_ = RenderTextImage(text);
    ::InvalidateRect(window_, nullptr, FALSE);
}

void ClipboardTextWindow::ApplyTouchable(bool touchable) {
    if (!Exists()) return;
    const LONG_PTR exStyle = ::GetWindowLongPtrW(window_, GWL_EXSTYLE);
    ::SetWindowLongPtrW(window_, GWL_EXSTYLE, touchable ? exStyle & ~WS_EX_TRANSPARENT : exStyle | WS_EX_TRANSPARENT);
    ApplyOpacity(settings_.ClipboardTextWindowOpacity());
    ::SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(window_, nullptr, FALSE);
}

void ClipboardTextWindow::OnMenuCommand(WORD id, HWND owner) {
    switch (id) {
        case IDM_TEXT_WINDOW_MOVABLE:
            ShowIfAbsent(owner);
            settings_.Write(setting::kClipboardTextWindowResizable, true);
            ApplyTouchable(true);
            return;
        case IDM_TEXT_WINDOW_FIXED:
            ShowIfAbsent(owner);
            settings_.Write(setting::kClipboardTextWindowResizable, false);
            settings_.Write(setting::kClipboardTextWindowTouchable, true);
            ApplyTouchable(true);
            return;
        case IDM_TEXT_WINDOW_CLICK_THROUGH:
            ShowIfAbsent(owner);
            settings_.Write(setting::kClipboardTextWindowResizable, false);
            settings_.Write(setting::kClipboardTextWindowTouchable, false);
            ApplyTouchable(false);
            return;
        case IDM_TEXT_WINDOW_HIDE:
            DestroyTextWindow();
            settings_.Write(setting::kUseClipboardTextWindow, false);
            return;
        case IDM_TEXT_WINDOW_MOVE_TO_MOUSE: MoveToMouse(); return;
    }
}

void ClipboardTextWindow::ShowIfAbsent(HWND owner) {
    settings_.Write(setting::kUseClipboardTextWindow, true);
    if (!Exists()) ShowTextWindow(owner);
}

void ClipboardTextWindow::MoveToMouse() {
    if (!Exists() || !::IsWindowVisible(window_)) return;
    if (!moveQuestion_.Ask(kMoveQuestion, kMoveCaption)) return;
    // The question's modal loop may have let a hide command through.
    if (!Exists()) return;
    POINT cursor{};
    RECT bounds{};
    if (!::GetCursorPos(&cursor) || !::GetWindowRect(window_, &bounds)) return;
    const POINT topLeft = CenteredOnCursor(cursor, bounds);
    ::SetWindowPos(window_, nullptr, topLeft.x, topLeft.y, 0, 0, kMoveOnly);
}

bool ClipboardTextWindow::Movable() const { return settings_.ClipboardTextWindowResizable(); }

void ClipboardTextWindow::ApplyOpacity(int opacity) {
    opacity_ = static_cast<BYTE>(opacity);
    ::SetLayeredWindowAttributes(window_, 0, opacity_, LWA_ALPHA);
}

LRESULT CALLBACK ClipboardTextWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject(window, message, lParam, &ClipboardTextWindow::window_);
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    // Nothing may escape into the system's message dispatch.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        if (self->actions_.reportError) self->actions_.reportError();
    }
    return 0;
}

LRESULT ClipboardTextWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // the paint covers every pixel
        case WM_PAINT: Paint(); return 0;
        case WM_NCHITTEST: return HitTest(wParam, lParam);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_MOUSEMOVE: OnMouse(message, wParam); return 0;
        case WM_MOUSEWHEEL: OnWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
        case WM_CAPTURECHANGED: mouse_.OnCaptureLost(); return 0;
        case WM_MOVE: OnMoved(); return 0;
        case WM_SIZE: OnSized({LOWORD(lParam), HIWORD(lParam)}); return 0;
        case WM_DESTROY: image_.reset(); return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void ClipboardTextWindow::Paint() {
    const PaintDc dc(window_);
    if (!dc) return;
    PaintTextWindow(dc.Get(), ClientSize(window_), image_ ? &*image_ : nullptr,
                    FrameBandsFor(settings_.ClipboardTextWindowBorderWidth(), Movable()));
}

LRESULT ClipboardTextWindow::HitTest(WPARAM wParam, LPARAM lParam) {
    if (!Movable()) return HTCLIENT;
    const LRESULT system = ::DefWindowProcW(window_, WM_NCHITTEST, wParam, lParam);
    if (system != HTCLIENT) return system;
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(window_, &point);
    const int padded = ::GetSystemMetrics(SM_CXPADDEDBORDER);
    const SIZE grip{padded + ::GetSystemMetrics(SM_CXFRAME), padded + ::GetSystemMetrics(SM_CYFRAME)};
    return HitTestRegion(point, ClientSize(window_), grip);
}

void ClipboardTextWindow::OnMouse(UINT message, WPARAM wParam) {
    // Where the cursor was when this message arose: by now it may be further on.
    const DWORD position = ::GetMessagePos();
    const POINT cursor{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    const TextWindowMouseResponse response =
        mouse_.OnMessage(message, Movable(), cursor, (wParam & MK_LBUTTON) != 0, (wParam & MK_RBUTTON) != 0);
    if (response.stopSpeech && actions_.stopSpeech) actions_.stopSpeech();
    if (response.captureMouse) ::SetCapture(window_);
    if (response.releaseMouse) ::ReleaseCapture();
    if (response.moveBy) {
        RECT bounds{};
        ::GetWindowRect(window_, &bounds);
        ::SetWindowPos(window_, nullptr, bounds.left + response.moveBy->x, bounds.top + response.moveBy->y, 0, 0,
                       kMoveOnly);
    }
    if (response.click && actions_.runClick) {
        actions_.runClick(*response.click);
        mouse_.AfterAction(*response.click);
    }
}

void ClipboardTextWindow::OnWheel(int delta) {
    const std::optional<int> opacity = wheel_.Turn(delta, opacity_);
    if (!opacity) return;
    ApplyOpacity(*opacity);
    settings_.Write(setting::kClipboardTextWindowOpacity, *opacity);
    if (pageSync_) pageSync_->ShowOpacity(*opacity);
}

void ClipboardTextWindow::OnMoved() {
    RECT bounds{};
    if (!::GetWindowRect(window_, &bounds)) return;
    settings_.Write(setting::kClipboardTextWindowPosX, bounds.left);
    settings_.Write(setting::kClipboardTextWindowPosY, bounds.top);
    if (pageSync_) pageSync_->ShowPosition(bounds.left, bounds.top);
    ::InvalidateRect(window_, nullptr, FALSE);
}

void ClipboardTextWindow::OnSized(SIZE client) {
    settings_.Write(setting::kClipboardTextWindowWidth, client.cx);
    settings_.Write(setting::kClipboardTextWindowHeight, client.cy);
    if (pageSync_) pageSync_->ShowSize(client.cx, client.cy);
    ::InvalidateRect(window_, nullptr, FALSE);
}

}  // namespace veltrano
