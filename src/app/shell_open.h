#pragma once
#include <string>

namespace veltrano {

// Opens a file or folder as Explorer would ("open" verb); false when the shell could not (no
// program is associated with the file, say).
bool OpenWithShell(const std::wstring& path);

}  // namespace veltrano
