#include "driver/property_sheets.h"

#include <commctrl.h>
#include <prsht.h>

#include <stdexcept>

#include "base/unique_any.h"
#include "driver/remote_buffer.h"
#include "driver/window_queries.h"

namespace veltrano::driver {
namespace {

constexpr size_t kTabTextLength = 128;

HWND Control(HWND parent, int id) {
    const HWND control = ::GetDlgItem(parent, id);
    if (!control) throw std::runtime_error("no control " + std::to_string(id));
    return control;
}

}  // namespace

std::vector<std::wstring> SheetTabNames(HWND sheet) {
    const HWND tabs = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    if (!tabs) throw std::runtime_error("the sheet has no tab control");
    DWORD processId = 0;
    ::GetWindowThreadProcessId(sheet, &processId);
    const UniqueHandle process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) throw std::runtime_error("cannot open the sheet's process");

    // The item structure first, then its text buffer, both in the sheet's process.
    const RemoteBuffer remote(process.Get(), sizeof(TCITEMW) + kTabTextLength * sizeof(wchar_t));
    std::vector<std::wstring> names;
    const int count = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof(TCITEMW));
        item.cchTextMax = static_cast<int>(kTabTextLength);
        remote.Write(0, &item, sizeof item);
        if (!::SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(remote.Address())))
            throw std::runtime_error("the tab control gave no item " + std::to_string(index));
        names.push_back(remote.ReadText(sizeof(TCITEMW), kTabTextLength));
    }
    return names;
}

HWND ShowSheetPage(HWND sheet, int index) {
    ::SendMessageW(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void SetControlText(HWND control, const std::wstring& text) {
    ::SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void SelectComboItem(HWND page, int comboId, int index) {
    const HWND combo = Control(page, comboId);
    ::SendMessageW(combo, CB_SETCURSEL, index, 0);
    // CB_SETCURSEL tells nobody; a user's choice does.
    PostToWindow(page, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int SelectedComboItem(HWND page, int comboId) {
    return static_cast<int>(::SendMessageW(Control(page, comboId), CB_GETCURSEL, 0, 0));
}

std::vector<std::wstring> ComboItems(HWND page, int comboId) {
    const HWND combo = Control(page, comboId);
    std::vector<std::wstring> items;
    const int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        // CB_GETLBTEXT's buffer is marshalled across processes, as WM_GETTEXT's is.
        std::vector<wchar_t> text(static_cast<size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1);
        ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        items.emplace_back(text.data());
    }
    return items;
}

void ClickControl(HWND parent, int controlId) { PostToWindow(Control(parent, controlId), BM_CLICK, 0, 0); }

bool IsTicked(HWND page, int controlId) {
    return ::SendMessageW(Control(page, controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsControlEnabled(HWND parent, int controlId) { return ::IsWindowEnabled(Control(parent, controlId)) != FALSE; }

}  // namespace veltrano::driver
