#pragma once
#include <string>

namespace veltrano {

// The message of the exception being handled, as text; "原因不明のエラー" when it carries none.
// Call only inside a catch block.
std::wstring CurrentErrorText();

}  // namespace veltrano
