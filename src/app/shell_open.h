#pragma once
#include <string>

namespace veltrano {

// Opens a file or folder as Explorer would ("open" verb); the result is not examined.
void OpenWithShell(const std::wstring& path);

}  // namespace veltrano
