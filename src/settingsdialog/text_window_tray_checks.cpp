#include "settingsdialog/text_window_tray_checks.h"

#include <algorithm>

#include "settings/settings.h"

namespace veltrano {

std::optional<FieldRefusal> CheckTextWindowFields(const TextWindowFields& fields) {
    if (!NumberInRange(fields.x, setting::kClipboardTextWindowPosX))
        return FieldRefusal{IDC_TEXT_WINDOW_POS_X, L"X座標を正しく入力して下さい。"};
    if (!NumberInRange(fields.y, setting::kClipboardTextWindowPosY))
        return FieldRefusal{IDC_TEXT_WINDOW_POS_Y, L"Y座標を正しく入力して下さい。"};
    struct Ranged {
        const std::wstring& text;
        int id;
        const wchar_t* prefix;
        const IntSetting& setting;
    };
    const Ranged ranged[] = {
        {fields.width, IDC_TEXT_WINDOW_WIDTH, L"幅は ", setting::kClipboardTextWindowWidth},
        {fields.height, IDC_TEXT_WINDOW_HEIGHT, L"高さは ", setting::kClipboardTextWindowHeight},
        {fields.opacity, IDC_TEXT_WINDOW_OPACITY, L"透明度は ", setting::kClipboardTextWindowOpacity},
        {fields.borderWidth, IDC_TEXT_WINDOW_BORDER_WIDTH, L"枠の太さは ", setting::kClipboardTextWindowBorderWidth},
    };
    for (const Ranged& field : ranged) {
        if (auto refused = CheckNumberField(field.text, field.id, field.setting, field.prefix,
                                            L" の範囲で入力して下さい。"))
            return refused;
    }
    return std::nullopt;
}

bool TextWindowControlEnabled(int controlId, bool show, bool resizable) {
    if (controlId == IDC_TEXT_WINDOW_SHOW) return true;
    if (controlId == IDC_TEXT_WINDOW_TOUCHABLE) return show && !resizable;
    return show;
}

TrayAssignmentCheck CheckTrayAssignments(const std::array<int, 4>& actions) {
    const auto real = [](int action) { return action >= 1 && action <= 4; };
    if (std::ranges::count(actions, static_cast<int>(TrayAction::MainMenu)) == 0) {
        return TrayAssignmentCheck::RefuseWithoutMainMenu;
    }
    for (size_t i = 0; i < actions.size(); ++i) {
        for (size_t j = i + 1; j < actions.size(); ++j) {
            if (real(actions[i]) && actions[i] == actions[j]) return TrayAssignmentCheck::AskAboutDuplicates;
        }
    }
    return TrayAssignmentCheck::Store;
}

}  // namespace veltrano
