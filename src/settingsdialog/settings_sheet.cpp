#include "settingsdialog/settings_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include "resource.h"

namespace veltrano {

INT_PTR OpenSettings(SettingsContext& context) {
    SettingsPages sheetPages(context);
    const std::array<SettingsPage*, 7> pages = sheetPages.All();

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
