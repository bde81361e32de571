#include "settingsdialog/text_window_tray_checks.h"

#include <algorithm>
#include <climits>

#include "settings/settings.h"
#include "settingsdialog/input_checks.h"

namespace veltrano {
namespace {

constexpr wchar_t kRangeSuffix[] = L" の範囲で入力して下さい。";

std::optional<int> SignedInt(const std::wstring& text) {
    const std::optional<long long> value = ParseSigned(text);
    if (!value || *value < INT_MIN || *value > INT_MAX) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<int> UnsignedIn(const std::wstring& text, int low, int high) {
    const std::optional<long long> value = ParseUnsigned(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return static_cast<int>(*value);
}

// Any unsigned number, limited to the range: what the store writes for a field that parses.
std::optional<int> Clamped(const std::wstring& text, int low, int high) {
    const std::optional<long long> value = ParseUnsigned(text);
    if (!value) return std::nullopt;
    return static_cast<int>(std::clamp<long long>(*value, low, high));
}

}  // namespace

std::optional<FieldRefusal> CheckTextWindowFields(const TextWindowFields& fields) {
    using namespace text_window_page;
    if (!SignedInt(fields.x)) return FieldRefusal{kPosX, L"X座標を正しく入力して下さい。"};
    if (!SignedInt(fields.y)) return FieldRefusal{kPosY, L"Y座標を正しく入力して下さい。"};
    struct Ranged {
        const std::wstring& text;
        int id;
        const wchar_t* prefix;
        int low;
        int high;
    };
    const Ranged ranged[] = {
        {fields.width, kWidth, L"幅は ", kTextWindowSizeMin, kTextWindowSizeMax},
        {fields.height, kHeight, L"高さは ", kTextWindowSizeMin, kTextWindowSizeMax},
        {fields.opacity, kOpacity, L"透明度は ", kTextWindowOpacityMin, kTextWindowOpacityMax},
        {fields.borderWidth, kBorderWidth, L"枠の太さは ", kTextWindowBorderWidthMin, kTextWindowBorderWidthMax},
    };
    for (const Ranged& field : ranged) {
        if (!UnsignedIn(field.text, field.low, field.high)) {
            return FieldRefusal{field.id, RangeMessage(field.prefix, field.low, field.high, kRangeSuffix)};
        }
    }
    return std::nullopt;
}

TextWindowValues ReadTextWindowFields(const TextWindowFields& fields) {
    using namespace text_window_page;
    return {.x = SignedInt(fields.x),
            .y = SignedInt(fields.y),
            .width = Clamped(fields.width, kTextWindowSizeMin, kTextWindowSizeMax),
            .height = Clamped(fields.height, kTextWindowSizeMin, kTextWindowSizeMax),
            .opacity = Clamped(fields.opacity, kTextWindowOpacityMin, kTextWindowOpacityMax),
            .borderWidth = Clamped(fields.borderWidth, kTextWindowBorderWidthMin, kTextWindowBorderWidthMax)};
}

bool TextWindowControlEnabled(int controlId, bool show, bool resizable) {
    if (controlId == text_window_page::kShow) return true;
    if (controlId == text_window_page::kTouchable) return show && !resizable;
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
