#pragma once
#include <string>
#include <string_view>

namespace veltrano {

// The tray tooltip for a clipboard text: one line, cut with "..." so that together with
// " - Veltrano" it fits the 127 units of the tooltip, never splitting a surrogate pair.
std::wstring BuildTrayTip(std::wstring_view text);

}  // namespace veltrano
