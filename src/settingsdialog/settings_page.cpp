#include "settingsdialog/settings_page.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "base/window_binding.h"
#include "resource.h"
#include "settingsdialog/input_checks.h"
#include "settingsdialog/setting_controls.h"

namespace veltrano {
namespace {

constexpr wchar_t kCenteredMark[] = L"__CENTERED__";

}  // namespace

HPROPSHEETPAGE SettingsPage::Create() {
    PROPSHEETPAGEW sheetPage{};
    sheetPage.dwSize = sizeof sheetPage;
    sheetPage.hInstance = context_.instance;
    sheetPage.pszTemplate = MAKEINTRESOURCEW(templateId_);
    sheetPage.pfnDlgProc = &SettingsPage::DialogProc;
    sheetPage.lParam = reinterpret_cast<LPARAM>(this);
    return ::CreatePropertySheetPageW(&sheetPage);
}

INT_PTR CALLBACK SettingsPage::DialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = PropertyPageObject(page, message, lParam, &SettingsPage::page_);
    if (!self) return FALSE;
    // Nothing may escape into the dialog manager; a failed apply keeps the sheet open.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        self->context_.notifier.NotifyUtf8(error.what(), "エラー", NotifyKind::Error);
    } catch (...) {
    }
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_APPLY) {
        ::SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_INVALID);
        return TRUE;
    }
    return FALSE;
}

INT_PTR SettingsPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Quietly([this] { OnInit(); });
            ShowPolicyHolds();
            CenterSheetOnce(page_);
            return TRUE;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code == PSN_APPLY) {
                ::SetWindowLongPtrW(page_, DWLP_MSGRESULT, OnApply() ? PSNRET_NOERROR : PSNRET_INVALID);
                return TRUE;
            }
            break;
    }
    return OnMessage(message, wParam, lParam) ? TRUE : FALSE;
}

bool SettingsPage::OnMessage(UINT, WPARAM, LPARAM) { return false; }

void SettingsPage::MarkChanged() const {
    if (quietDepth_ == 0) PropSheet_Changed(::GetParent(page_), page_);
}

bool SettingsPage::Ticked(int id) const { return ::IsDlgButtonChecked(page_, id) == BST_CHECKED; }

void SettingsPage::Tick(int id, bool ticked) const { ::CheckDlgButton(page_, id, ticked ? BST_CHECKED : BST_UNCHECKED); }

void SettingsPage::Enable(std::initializer_list<int> ids, bool enabled) const {
    for (const int id : ids) ::EnableWindow(Item(id), enabled && !HeldByPolicy(id));
}

bool SettingsPage::HeldByPolicy(int id) const {
    for (const SettingControl& control : SettingControls()) {
        if (control.id == id) return veltrano::HeldByPolicy(Stored(), control.setting);
    }
    return false;
}

void SettingsPage::ShowPolicyHolds() const {
    bool held = false;
    for (const SettingControl& control : SettingControls()) {
        const HWND item = Item(control.id);
        if (!item || !veltrano::HeldByPolicy(Stored(), control.setting)) continue;
        ::EnableWindow(item, FALSE);
        held = true;
    }
    if (!held) return;
    // Below every page's controls: the sheet gives each page the size of the tallest.
    RECT margins{7, 4, 7, 10};  // dialog units: sides, foot, the note's height
    ::MapDialogRect(page_, &margins);
    RECT client{};
    ::GetClientRect(page_, &client);
    const HWND note = ::CreateWindowExW(
        0, L"STATIC", L"一部の設定は組織のポリシーで管理されています。", WS_CHILD | WS_VISIBLE | SS_LEFT,
        margins.left, client.bottom - margins.top - margins.bottom, client.right - margins.left - margins.right,
        margins.bottom, page_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_POLICY_NOTE)), nullptr, nullptr);
    ::SendMessageW(note, WM_SETFONT, ::SendMessageW(page_, WM_GETFONT, 0, 0), FALSE);
}

std::wstring SettingsPage::Text(int id) const {
    const HWND item = Item(id);
    std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(item)) + 1);
    ::GetWindowTextW(item, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void SettingsPage::BindUpDown(int upDownId, int editId, const IntSetting& setting, int maxCharacters) const {
    const HWND upDown = Item(upDownId);
    ::SendMessageW(Item(editId), EM_SETLIMITTEXT, maxCharacters, 0);
    ::SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(editId)), 0);
    ::SendMessageW(upDown, UDM_SETRANGE32, setting.low, setting.high);
    ::SendMessageW(upDown, UDM_SETPOS32, 0, Stored().Read(setting));
}

void SettingsPage::StoreNumber(std::wstring_view text, const IntSetting& setting) const {
    if (const std::optional<int> value = NumberInRange(text, setting)) Stored().Write(setting, *value);
}

void SettingsPage::RefuseInput(int focusId, const std::wstring& text, const wchar_t* caption) const {
    ::MessageBoxW(page_, text.c_str(), caption, MB_ICONERROR);
    ::SetFocus(Item(focusId));
}

void CenterSheetOnce(HWND page) {
    const HWND sheet = ::GetParent(page);
    if (!::IsWindow(sheet) || ::GetPropW(sheet, kCenteredMark)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT bounds{};
    if (::GetMonitorInfoW(::MonitorFromWindow(sheet, MONITOR_DEFAULTTONEAREST), &monitor) &&
        ::GetWindowRect(sheet, &bounds)) {
        const RECT& work = monitor.rcWork;
        const int left = work.left + ((work.right - work.left) - (bounds.right - bounds.left)) / 2;
        const int top = work.top + ((work.bottom - work.top) - (bounds.bottom - bounds.top)) / 2;
        ::SetWindowPos(sheet, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::SetPropW(sheet, kCenteredMark, reinterpret_cast<HANDLE>(1));
    ::SetWindowLongPtrW(sheet, GWL_EXSTYLE, ::GetWindowLongPtrW(sheet, GWL_EXSTYLE) | WS_EX_APPWINDOW);
}

}  // namespace veltrano
