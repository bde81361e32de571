#include "app/about_box.h"

#include <objbase.h>

#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "app/half_size_icon.h"
#include "app/shell_open.h"
#include "base/com_apartment.h"
#include "base/text_encoding.h"
#include "base/unique_any.h"
#include "base/window_binding.h"
#include "selftest/self_test.h"

namespace veltrano {
namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kHoverColour = RGB(255, 0, 0);
constexpr int kLargeIconSize = 128;
// Posted to the box when its self-test has ended.
constexpr UINT kSelfTestEndedMessage = WM_APP + 1;

// The box as its self-test's worker sees it: gone once the box is destroyed.
struct SelfTestRun {
    std::mutex mutex;
    HWND dialog = nullptr;
};

// What the dialog and its link's subclass share for the life of one box; it outlives the
// dialog's windows, so the font and icon they show are freed after them.
struct AboutBoxState {
    HWND control = nullptr;
    HFONT normalFont = nullptr;
    UniqueHfont underlinedFont;
    UniqueHicon largeIcon;  // loaded unshared for each box
    WNDPROC previousProc = nullptr;
    COLORREF colour = kLinkColour;
    const DataPaths* paths = nullptr;
    std::shared_ptr<SelfTestRun> selfTest = std::make_shared<SelfTestRun>();
};

// On a worker, so the box stays responsive: the checks in the multi-threaded apartment, then the
// report opened as Explorer would open it, from a single-threaded one.
void StartSelfTest(HWND dialog, AboutBoxState& state) {
    ::EnableWindow(::GetDlgItem(dialog, IDC_ABOUT_SELF_TEST), FALSE);
    {
        const std::lock_guard lock(state.selfTest->mutex);
        state.selfTest->dialog = dialog;
    }
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    std::thread([instance, paths = *state.paths, run = state.selfTest] {
        const std::wstring report = DefaultSelfTestReportPath(paths);
        std::wstring failure;
        {
            const ComApartment apartment(COINIT_MULTITHREADED);
            try {
                RunSelfTestInto(instance, paths, report);
            } catch (const std::exception& error) {
                failure = Utf8ToWide(error.what());
            }
        }
        {
            const std::lock_guard lock(run->mutex);
            if (run->dialog) ::PostMessageW(run->dialog, kSelfTestEndedMessage, 0, 0);
        }
        if (!failure.empty()) {
            ::MessageBoxW(nullptr, (L"動作チェックのレポートを書けません。\n\n理由：" + failure).c_str(), L"エラー - Veltrano",
                          MB_ICONERROR);
            return;
        }
        const ComApartment apartment(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        if (!OpenWithShell(report)) {
            ::MessageBoxW(nullptr, (L"動作チェックのレポートを開けませんでした。\n\n" + report).c_str(),
                          L"動作チェック - Veltrano", MB_ICONINFORMATION);
        }
    }).detach();
}

void ShowLinkAs(AboutBoxState& link, COLORREF colour, HFONT font) {
    link.colour = colour;
    ::SendMessageW(link.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ResetLink(AboutBoxState& link) {
    ShowLinkAs(link, kLinkColour, link.normalFont);
    ::ReleaseCapture();
}

LRESULT CALLBACK LinkProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* link = reinterpret_cast<AboutBoxState*>(::GetWindowLongPtrW(control, GWLP_USERDATA));
    if (message == WM_SETCURSOR) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    if (message == WM_MOUSEMOVE) {
        // The capture tells when the pointer leaves, which a static control is not told otherwise.
        if (!::GetCapture()) {
            ShowLinkAs(*link, kHoverColour, link->underlinedFont.Get());
            ::SetCapture(control);
        }
        RECT client{};
        ::GetClientRect(control, &client);
        const POINT pointer{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (!::PtInRect(&client, pointer)) ResetLink(*link);
    }
    return ::CallWindowProcW(link->previousProc, control, message, wParam, lParam);
}

void InitLink(HWND dialog, AboutBoxState& link) {
    link.control = ::GetDlgItem(dialog, IDC_ABOUT_LINK);
    link.normalFont = reinterpret_cast<HFONT>(::SendMessageW(link.control, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    ::GetObjectW(link.normalFont, sizeof font, &font);
    font.lfUnderline = TRUE;
    link.underlinedFont.Reset(::CreateFontIndirectW(&font));
    ::SetWindowLongPtrW(link.control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&link));
    link.previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(link.control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LinkProc)));
    link.colour = kLinkColour;
}

void InitIcons(HWND dialog, HINSTANCE instance, AboutBoxState& state) {
    const HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELTRANO));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    const auto load = [instance](int size) {
        return UniqueHicon(static_cast<HICON>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_VELTRANO), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    // Halved from the 256-pixel frame: asked for 128 pixels, the frame chooser may stretch a
    // smaller frame up instead.
    state.largeIcon = HalfSizeIcon(load(2 * kLargeIconSize).Get());
    if (!state.largeIcon) state.largeIcon = load(kLargeIconSize);
    ::SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(state.largeIcon.Get()), 0);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* link = DialogObject<AboutBoxState>(dialog, message, lParam);
    switch (message) {
        case WM_INITDIALOG: {
            InitIcons(dialog, reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), *link);
            InitLink(dialog, *link);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            if (link && reinterpret_cast<HWND>(lParam) == link->control) {
                const HDC dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, link->colour);
                ::SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        case WM_COMMAND: {
            const WORD id = LOWORD(wParam);
            if (id == IDOK || id == IDCANCEL) {
                ::EndDialog(dialog, id);
                return TRUE;
            }
            if (id == IDC_ABOUT_SELF_TEST && link) {
                StartSelfTest(dialog, *link);
                return TRUE;
            }
            if (id == IDC_ABOUT_LINK && HIWORD(wParam) == STN_CLICKED && link) {
                ResetLink(*link);
                OpenWithShell(kHomepageUrl);
                return TRUE;
            }
            return FALSE;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && link) ResetLink(*link);
            return FALSE;
        case kSelfTestEndedMessage: ::EnableWindow(::GetDlgItem(dialog, IDC_ABOUT_SELF_TEST), TRUE); return TRUE;
        case WM_CLOSE: ::EndDialog(dialog, IDCANCEL); return TRUE;
        case WM_DESTROY:
            if (link) {
                const std::lock_guard lock(link->selfTest->mutex);
                link->selfTest->dialog = nullptr;
            }
            if (link && link->control) {
                ::SetWindowLongPtrW(link->control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->previousProc));
            }
            return FALSE;
    }
    return FALSE;
}

}  // namespace

void ShowAboutBox(HINSTANCE instance, HWND owner, const DataPaths& paths) {
    AboutBoxState link;
    link.paths = &paths;
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, &AboutProc, reinterpret_cast<LPARAM>(&link));
}

}  // namespace veltrano
