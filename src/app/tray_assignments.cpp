#include "app/tray_assignments.h"

#include <array>

namespace veltrano {
namespace {

constexpr std::array kButtons = {TrayButton::Left, TrayButton::Right, TrayButton::Middle, TrayButton::LeftRight};

const wchar_t* ButtonName(TrayButton button) {
    switch (button) {
        case TrayButton::Left: return L"左クリック";
        case TrayButton::Right: return L"右クリック";
        case TrayButton::Middle: return L"中クリック";
        case TrayButton::LeftRight: return L"左＋右クリック";
    }
    return L"";
}

}  // namespace

void FixTrayAssignments(Settings& settings, Notifier& notifier, LogWriter& log) {
    std::array<TrayAction, kButtons.size()> actions{};
    for (size_t i = 0; i < kButtons.size(); ++i) {
        actions[i] = settings.TrayClick(kButtons[i]);
        if (actions[i] == TrayAction::MainMenu) return;
    }

    TrayButton chosen = TrayButton::Right;
    for (size_t i = 0; i < kButtons.size(); ++i) {
        if (actions[i] == TrayAction::None) {
            chosen = kButtons[i];
            break;
        }
    }
    // Announcing a repair that was not stored would leave the user without a way to the menu
    // and without knowing why.
    const bool stored = settings.SetTrayClick(chosen, TrayAction::MainMenu);
    const std::wstring title = stored ? L"トレイ操作設定を修正しました" : L"トレイ操作設定の修正に失敗しました";
    const std::wstring body =
        stored ? std::wstring(L"「メインメニュー表示」操作が割り当てられていなかった為、\n「") + ButtonName(chosen) +
                     L"」に割り当てました。"
               : std::wstring(L"「メインメニュー表示」操作が割り当てられていない為、\n「") + ButtonName(chosen) +
                     L"」に割り当てようとしましたが、設定ファイルに保存出来ませんでした。\n\n" + settings.Ini().Path();
    notifier.Notify(body, title, stored ? NotifyKind::Warning : NotifyKind::Error);
    log.WriteLog(LogCategory::Other, title, body);
}

}  // namespace veltrano
