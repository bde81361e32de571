#include "settingsdialog/tray_page.h"

#include <array>

#include "resource.h"
#include "settingsdialog/tray_assignment_check.h"

namespace veltrano {
namespace {

struct ClickList {
    int id;
    TrayButton button;
};

// In the order of the stored keys: LeftClick, RightClick, MiddleClick, LeftRightClick.
constexpr std::array<ClickList, 4> kClickLists = {{{IDC_TRAY_LEFT_CLICK, TrayButton::Left},
                                                    {IDC_TRAY_RIGHT_CLICK, TrayButton::Right},
                                                    {IDC_TRAY_MIDDLE_CLICK, TrayButton::Middle},
                                                    {IDC_TRAY_LEFT_RIGHT_CLICK, TrayButton::LeftRight}}};

// Indexed by the action value.
constexpr const wchar_t* kActionTexts[] = {L"割り当て無し", L"メインメニュー表示", L"クリップボード手動置換メニュー表示",
                                           L"クリップボード履歴メニュー表示", L"登録コピーテキストメニュー表示"};

}  // namespace

TrayPage::TrayPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_TRAY) {}

void TrayPage::OnInit() {
    for (const ClickList& list : kClickLists) {
        const HWND box = Item(list.id);
        for (const wchar_t* text : kActionTexts) ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(Stored().TrayClick(list.button)), 0);
    }
}

void TrayPage::OnCommand(int controlId, int code) {
    if (code != CBN_SELCHANGE) return;
    for (const ClickList& list : kClickLists) {
        if (list.id == controlId) MarkChanged();
    }
}

bool TrayPage::OnApply() {
    std::array<int, 4> actions{};
    for (size_t i = 0; i < kClickLists.size(); ++i) {
        const LRESULT selected = ::SendMessageW(Item(kClickLists[i].id), CB_GETCURSEL, 0, 0);
        actions[i] = selected >= 1 && selected <= 4 ? static_cast<int>(selected) : 0;
    }
    switch (CheckTrayAssignments(actions)) {
        case TrayAssignmentCheck::RefuseWithoutMainMenu:
            ::MessageBoxW(Page(), L"「メインメニュー表示」操作を少なくとも1つは割り当てて下さい。", L"エラー",
                          MB_ICONERROR);
            return false;
        case TrayAssignmentCheck::AskAboutDuplicates:
            if (::MessageBoxW(Page(), L"同じ操作が複数に割り当てられています。\nこのまま保存しますか？", L"確認",
                              MB_ICONWARNING | MB_YESNO) != IDYES) {
                return false;
            }
            break;
        case TrayAssignmentCheck::Store: break;
    }
    for (size_t i = 0; i < kClickLists.size(); ++i) {
        Stored().SetTrayClick(kClickLists[i].button, static_cast<TrayAction>(actions[i]));
    }
    return true;
}

}  // namespace veltrano
