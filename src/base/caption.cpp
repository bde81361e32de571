#include "base/notifier.h"

namespace veltrano {

std::wstring MakeCaption(std::wstring_view title) {
    if (title.empty()) return L"Veltrano";
    return std::wstring(title) + L" - Veltrano";
}

}  // namespace veltrano
