#pragma once
// File-system queries whose failures carry UTF-8 messages like every other file error:
// "<operation>: <system text>: <path>".
#include <string>

namespace veltrano {

// False for a missing file or folder; throws std::runtime_error ("exists: ...") when the
// question cannot be answered (access denied on the folder, say).
bool FileExists(const std::wstring& path);

// Removes a file; a missing file is fine. Throws std::runtime_error ("remove: ...").
void RemoveFile(const std::wstring& path);

// Creates a folder with any missing parents; false when that fails. An existing folder is fine.
bool CreateFolders(const std::wstring& path);

}  // namespace veltrano
