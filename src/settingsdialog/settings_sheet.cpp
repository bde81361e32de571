#include "settingsdialog/settings_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <array>

#include "resource.h"
#include "settingsdialog/basic_page.h"
#include "settingsdialog/history_page.h"
#include "settingsdialog/log_page.h"
#include "settingsdialog/protect_page.h"
#include "settingsdialog/replace_page.h"
#include "settingsdialog/text_window_page.h"
#include "settingsdialog/tray_page.h"

namespace veltrano {

INT_PTR OpenSettings(SettingsContext& context) {
    BasicPage basic(context);
    ReplacePage replace(context);
    HistoryPage history(context);
    LogPage log(context);
    TextWindowPage textWindow(context);
    TrayPage tray(context);
    ProtectPage protect(context);
    const std::array<SettingsPage*, 7> pages{&basic, &replace, &history, &log, &textWindow, &tray, &protect};

    std::array<HPROPSHEETPAGE, pages.size()> handles{};
    for (size_t i = 0; i < pages.size(); ++i) {
        handles[i] = pages[i]->Create();
        if (handles[i]) continue;
        // Pages handed to no sheet are the caller's to destroy.
        for (size_t made = 0; made < i; ++made) ::DestroyPropertySheetPage(handles[made]);
        ::MessageBoxW(context.owner, L"ページ作成失敗", L"エラー", MB_ICONERROR);
        return -1;
    }

    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_USEHICON;
    header.hwndParent = context.owner;
    header.hInstance = context.instance;
    header.hIcon = ::LoadIconW(context.instance, MAKEINTRESOURCEW(IDI_VELTRANO));
    header.pszCaption = L"設定 - Veltrano";
    header.nPages = static_cast<UINT>(handles.size());
    header.nStartPage = 0;
    header.phpage = handles.data();
    return ::PropertySheetW(&header);
}

}  // namespace veltrano
