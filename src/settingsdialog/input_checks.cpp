#include "settingsdialog/input_checks.h"

namespace veltrano {

std::wstring RangeMessage(std::wstring_view prefix, long long low, long long high, std::wstring_view suffix) {
    return std::wstring(prefix) + std::to_wstring(low) + L"～" + std::to_wstring(high) + std::wstring(suffix);
}

}  // namespace veltrano
