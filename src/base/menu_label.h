#pragma once
// How a stored text is shown as one item of a pop-up menu.
#include <string>
#include <string_view>

namespace veltrano {

// One line: control characters dropped, runs of blanks and line breaks folded to one space,
// tabs expanded to four spaces when asked, cut to 128 units with "..." (text_cut.h), "&" doubled.
std::wstring BuildMenuLabel(std::wstring_view text, bool expandTabs);

// The keyboard accelerator of the entry at `index`: "\t(&1)" to "\t(&9)", "\t(&0)", then
// "\t(&A)" to "\t(&Z)"; none from index 36 on.
std::wstring AcceleratorSuffix(size_t index);

}  // namespace veltrano
