#include "guard/tray_tip.h"

#include "base/text_cut.h"

namespace veltrano {

std::wstring BuildTrayTip(std::wstring_view text) {
    constexpr std::wstring_view kProduct = L"Veltrano";
    constexpr std::wstring_view kSuffix = L" - Veltrano";
    if (text.empty()) return std::wstring(kProduct);

    std::wstring line;
    line.reserve(std::min<size_t>(text.size(), 256));
    const size_t budget = 124 - kSuffix.size();
    for (size_t i = 0; i < text.size() && line.size() <= budget; ++i) {
        const wchar_t c = text[i];
        if (c == L'\r') {
            line += L' ';
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (c == L'\n') {
            line += L' ';
        } else if (c >= L' ' && c != 0x7F) {
            line += c;
        }
    }
    return CutText(line, budget, budget, L"...") + std::wstring(kSuffix);
}

}  // namespace veltrano
