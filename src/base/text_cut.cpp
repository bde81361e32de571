#include "base/text_cut.h"

#include <algorithm>

namespace veltrano {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

std::wstring CutText(std::wstring_view text, size_t maxLength, size_t keptLength, std::wstring_view marker) {
    if (text.size() <= maxLength) return std::wstring(text);
    size_t kept = std::min(keptLength, text.size());
    if (kept > 0 && IsHighSurrogate(text[kept - 1])) --kept;
    std::wstring cut(text.substr(0, kept));
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
