#pragma once
// One page of the settings sheet. The page protocol: fill the controls on initialization and
// centre the sheet once; report each user change to the sheet (which enables Apply); on Apply
// check, store, and answer whether the sheet may close.
#include <windows.h>
#include <prsht.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "settingsdialog/settings_context.h"

namespace veltrano {

class SettingsPage {
public:
    SettingsPage(SettingsContext& context, int templateId) : context_(context), templateId_(templateId) {}
    virtual ~SettingsPage() = default;
    SettingsPage(const SettingsPage&) = delete;
    SettingsPage& operator=(const SettingsPage&) = delete;

    // A page of the sheet, or null when the system cannot make one.
    HPROPSHEETPAGE Create();

protected:
    virtual void OnInit() = 0;
    // A control's notification: `code` is its BN_/EN_/CBN_ code.
    virtual void OnCommand(int controlId, int code) = 0;
    // Checks and stores; false keeps the sheet open on this page.
    virtual bool OnApply() = 0;
    // Any other message; true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND Page() const noexcept { return page_; }
    HWND Item(int id) const noexcept { return ::GetDlgItem(page_, id); }
    SettingsContext& Context() const noexcept { return context_; }
    Settings& Stored() const noexcept { return context_.settings; }

    // Tells the sheet that the user changed something; not while the program itself fills fields.
    void MarkChanged() const;
    // Runs `fill` as the program's own change: the notifications it causes do not enable Apply.
    template <typename Fill>
    void Quietly(Fill fill) {
        ++quietDepth_;
        try {
            fill();
        } catch (...) {
            --quietDepth_;
            throw;
        }
        --quietDepth_;
    }
    bool Ticked(int id) const;
    void Tick(int id, bool ticked) const;
    // A control whose value an organisation's policy holds stays greyed whatever is asked.
    void Enable(std::initializer_list<int> ids, bool enabled) const;
    std::wstring Text(int id) const;
    // Binds an up-down to its field: the setting's range, its stored value as the position (which
    // writes the field) and the field's length limit.
    void BindUpDown(int upDownId, int editId, const IntSetting& setting, int maxCharacters) const;
    // Writes the field's number when it lies in the setting's range; failed writes are not reported.
    void StoreNumber(std::wstring_view text, const IntSetting& setting) const;
    // A refused input: the error box owned by the page, then the focus on the field.
    void RefuseInput(int focusId, const std::wstring& text, const wchar_t* caption = L"入力エラー") const;

private:
    bool HeldByPolicy(int id) const;
    // Greys the controls a policy holds and, when there are any, says so at the page's foot.
    void ShowPolicyHolds() const;

    static INT_PTR CALLBACK DialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    SettingsContext& context_;
    int templateId_;
    HWND page_ = nullptr;
    int quietDepth_ = 0;
};

// Centres the sheet of this page on its monitor's work area, once per sheet, and shows it on
// the taskbar although its owner is hidden.
void CenterSheetOnce(HWND page);

}  // namespace veltrano
