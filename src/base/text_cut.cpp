#include "base/text_cut.h"

#include <algorithm>

#include "base/text_encoding.h"

namespace veltrano {

std::wstring_view WholeUnitsHead(std::wstring_view text, size_t length) {
    std::wstring_view head = text.substr(0, std::min(length, text.size()));
    if (head.size() < text.size() && !head.empty() && IsHighSurrogate(head.back())) head.remove_suffix(1);
    return head;
}

std::wstring CutText(std::wstring_view text, size_t maxLength, size_t keptLength, std::wstring_view marker) {
    if (text.size() <= maxLength) return std::wstring(text);
    std::wstring cut(WholeUnitsHead(text, keptLength));
    cut += marker;
    return cut;
}

void CopyToField(std::span<wchar_t> field, std::wstring_view text) {
    const size_t room = field.size() - 1;
    const std::wstring fitted = CutText(text, room, room, L"");
    std::copy(fitted.begin(), fitted.end(), field.begin());
    field[fitted.size()] = L'\0';
}

}  // namespace veltrano
