#pragma once
// File-system queries whose failures carry UTF-8 messages like every other file error:
// "<operation>: <system text>: <path>".
#include <string>
#include <vector>

namespace veltrano {

// False for a missing file or folder; throws std::runtime_error ("exists: ...") when the
// question cannot be answered (access denied on the folder, say).
bool FileExists(const std::wstring& path);

// Removes a file; a missing file is fine. True when the file was there.
// Throws std::runtime_error ("remove: ...").
bool RemoveFile(const std::wstring& path);

// Creates a folder with any missing parents; false when that fails. An existing folder is fine.
bool CreateFolders(const std::wstring& path);

// True when `path` is a folder afterwards, created with any missing parents when absent. An
// existing file of that name, or any failure, gives false.
bool EnsureFolder(const std::wstring& path);

// The names of the files (not folders) directly inside `folder`, in no particular order.
// Throws std::runtime_error ("list: ...") when the folder cannot be listed.
std::vector<std::wstring> ListFileNames(const std::wstring& folder);

// The same, appending to `names` as it goes, so the names found before a failure survive it.
void AppendFileNames(const std::wstring& folder, std::vector<std::wstring>& names);

}  // namespace veltrano
