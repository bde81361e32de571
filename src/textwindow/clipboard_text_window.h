#pragma once
// The small always-on-top window that shows the clipboard text, in one of three modes:
// movable (drag to move, edges resize, a frame marks the edges), fixed, or click-through.
// Its geometry and opacity live in the settings file. Everything here runs on the UI thread.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "base/clipboard_reader.h"
#include "base/yes_no_question.h"
#include "settings/settings.h"
#include "textwindow/text_image.h"
#include "textwindow/text_window_layout.h"
#include "textwindow/text_window_mouse.h"
#include "textwindow/text_window_page_sync.h"

namespace veltrano {

// Keeps a window out of screen captures with the given affinity; false when the system refuses.
using DisplayAffinitySetter = std::function<bool(HWND, DWORD)>;
bool SetSystemDisplayAffinity(HWND window, DWORD affinity);

// What a click on the window leads to outside it.
struct TextWindowActions {
    std::function<void(TrayButton)> runClick;  // the tray action assigned to this click
    std::function<void()> stopSpeech;
    std::function<void()> reportError;  // an exception reached the window procedure
};

class ClipboardTextWindow {
public:
    ClipboardTextWindow(HINSTANCE instance, Settings& settings, ClipboardReader& clipboard,
                        YesNoQuestion& moveQuestion, TextWindowActions actions,
                        DisplayAffinitySetter setDisplayAffinity = SetSystemDisplayAffinity);
    ClipboardTextWindow(const ClipboardTextWindow&) = delete;
    ClipboardTextWindow& operator=(const ClipboardTextWindow&) = delete;
    ~ClipboardTextWindow();

    // Creates the window anew with the current clipboard text; whether a window exists afterwards.
    bool ShowTextWindow(HWND owner);
    void DestroyTextWindow();
    bool Exists() const noexcept { return window_ && ::IsWindow(window_); }
    HWND Handle() const noexcept { return window_; }

    // The clipboard's new text, shown by its head (ShownText); and the clipboard holding no text.
    void UpdateText(std::wstring_view text);
    void ClearText();

    // Click-through or not; also re-applies the stored opacity and repaints.
    void ApplyTouchable(bool touchable);

    // The tray menu's commands for the window: the three modes, hide, and move to the mouse.
    void OnMenuCommand(WORD id, HWND owner);

    // Null detaches. The page must detach before it goes away.
    void AttachPageSync(TextWindowPageSync* page) noexcept { pageSync_ = page; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Movable() const;
    void HideFromCapture();
    void SetText(std::wstring_view text);
    void Paint();
    LRESULT HitTest(WPARAM wParam, LPARAM lParam);
    void OnMouse(UINT message, WPARAM wParam);
    void OnWheel(int delta);
    void OnMoved();
    void OnSized(SIZE client);
    void ApplyOpacity(int opacity);
    void ShowIfAbsent(HWND owner);
    void MoveToMouse();

    HINSTANCE instance_;
    Settings& settings_;
    ClipboardReader& clipboard_;
    YesNoQuestion& moveQuestion_;
    TextWindowActions actions_;
    DisplayAffinitySetter setDisplayAffinity_;
    TextWindowPageSync* pageSync_ = nullptr;

    HWND window_ = nullptr;
    std::optional<TextImage> image_;  // none while the text is empty
    BYTE opacity_ = setting::kClipboardTextWindowOpacity.high;
    OpacityWheel wheel_;
    TextWindowMouse mouse_;
};

}  // namespace veltrano
