#include "app/tray_assignments.h"

#include <array>
#include <optional>

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

// The button the main menu goes to: the first free one, else the right click, else any other;
// never one a policy holds, as that write would not change it.
std::optional<TrayButton> RepairButton(const Settings& settings, const std::array<TrayAction, kButtons.size()>& actions) {
    const auto writable = [&](TrayButton button) { return !settings.TrayClickHeldByPolicy(button); };
    for (size_t i = 0; i < kButtons.size(); ++i) {
        if (actions[i] == TrayAction::None && writable(kButtons[i])) return kButtons[i];
    }
    if (writable(TrayButton::Right)) return TrayButton::Right;
    for (const TrayButton button : kButtons) {
        if (writable(button)) return button;
    }
    return std::nullopt;
}

}  // namespace

void FixTrayAssignments(Settings& settings, Notifier& notifier, LogWriter& log) {
    std::array<TrayAction, kButtons.size()> actions{};
    for (size_t i = 0; i < kButtons.size(); ++i) {
        actions[i] = settings.TrayClick(kButtons[i]);
        if (actions[i] == TrayAction::MainMenu) return;
    }

    const std::optional<TrayButton> chosen = RepairButton(settings, actions);
    // Announcing a repair that was not stored would leave the user without a way to the menu
    // and without knowing why.
    const bool stored = chosen && settings.SetTrayClick(*chosen, TrayAction::MainMenu);
    std::wstring title = L"トレイ操作設定を修正しました";
    std::wstring body;
    if (stored) {
        body = std::wstring(L"「メインメニュー表示」操作が割り当てられていなかった為、\n「") + ButtonName(*chosen) +
               L"」に割り当てました。";
    } else if (chosen) {
        title = L"トレイ操作設定の修正に失敗しました";
        body = std::wstring(L"「メインメニュー表示」操作が割り当てられていない為、\n「") + ButtonName(*chosen) +
               L"」に割り当てようとしましたが、設定ファイルに保存出来ませんでした。\n\n" + settings.Ini().Path();
    } else {
        title = L"トレイ操作設定の修正に失敗しました";
        body = L"「メインメニュー表示」操作が割り当てられていませんが、トレイ操作はすべて組織のポリシーで指定されている為、"
               L"割り当てられません。";
    }
    notifier.Notify(body, title, stored ? NotifyKind::Warning : NotifyKind::Error);
    log.WriteLog(LogCategory::Other, title, body);
}

}  // namespace veltrano
