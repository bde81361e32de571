#pragma once
// The one way to cut text for a shell field (menu item, tooltip, balloon): never between the
// two halves of a surrogate pair.
#include <span>
#include <string>
#include <string_view>

namespace veltrano {

// `text` itself when it has at most `maxLength` units; otherwise its first `keptLength` units
// (one less where that would end on half a pair) followed by `marker`.
std::wstring CutText(std::wstring_view text, size_t maxLength, size_t keptLength, std::wstring_view marker);

// The first `length` units of `text`, one less where that would end on half a pair.
std::wstring_view WholeUnitsHead(std::wstring_view text, size_t length);

// As much of `text` as fits `field` with its terminating NUL.
void CopyToField(std::span<wchar_t> field, std::wstring_view text);

}  // namespace veltrano
