#include "base/menu_label.h"

#include "base/text_cut.h"

namespace veltrano {

std::wstring BuildMenuLabel(std::wstring_view text, bool expandTabs) {
    constexpr size_t kMaxLength = 128;
    constexpr size_t kCutLength = 125;
    std::wstring line;
    bool lastWasBlank = false;
    for (const wchar_t c : text) {
        if (c == L'\t' && expandTabs) {
            line += L"    ";
            lastWasBlank = true;
        } else if (c == L' ' || c == L'\n' || c == L'\r') {
            if (!lastWasBlank) line += L' ';
            lastWasBlank = true;
        } else if ((c < L' ' && c != L'\t') || c == 0x7F) {
            continue;
        } else {
            line += c;
            lastWasBlank = false;
        }
        if (line.size() > kMaxLength) break;  // the rest would be cut anyway
    }
    line = CutText(line, kMaxLength, kCutLength, L"...");

    std::wstring label;
    label.reserve(line.size());
    for (const wchar_t c : line) {
        label += c;
        if (c == L'&') label += L'&';
    }
    return label;
}

std::wstring AcceleratorSuffix(size_t index) {
    if (index < 9) return L"\t(&" + std::wstring(1, static_cast<wchar_t>(L'1' + index)) + L")";
    if (index == 9) return L"\t(&0)";
    if (index < 36) return L"\t(&" + std::wstring(1, static_cast<wchar_t>(L'A' + (index - 10))) + L")";
    return {};
}

}  // namespace veltrano
