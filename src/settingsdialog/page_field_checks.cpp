#include "settingsdialog/page_field_checks.h"

#include "resource.h"

namespace veltrano {

std::optional<FieldRefusal> CheckReplaceFields(std::wstring_view interval, std::wstring_view count) {
    if (auto refused = CheckNumberField(interval, IDC_REPLACE_INTERVAL, setting::kReplaceContinuousIntervalMs,
                                        L"間隔は ", L" ミリ秒の範囲で入力して下さい。"))
        return refused;
    return CheckNumberField(count, IDC_REPLACE_COUNT, setting::kReplaceContinuousCount, L"回数は ",
                            L" 回の範囲で入力して下さい。");
}

std::optional<FieldRefusal> CheckHistoryFields(std::wstring_view maxCount) {
    return CheckNumberField(maxCount, IDC_HISTORY_MAX_COUNT, setting::kClipboardHistoryMaxCount, L"履歴件数は ",
                            L" の範囲で入力して下さい。");
}

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

}  // namespace veltrano
