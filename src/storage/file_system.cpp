#include "storage/file_system.h"

#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "base/error_text.h"
#include "base/text_encoding.h"
#include "base/unique_any.h"

namespace veltrano {
namespace {

// FindFirstFileW reports failure as INVALID_HANDLE_VALUE; the owner holds only valid handles.
using UniqueFindHandle = UniqueAny<NullInvalidTraits<HANDLE, ::FindClose>>;

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

[[noreturn]] void ThrowFileSystemError(const char* operation, DWORD error, const std::wstring& path) {
    throw std::runtime_error(std::string(operation) + ": " + WideToUtf8(SystemErrorText(error)) + ": " + WideToUtf8(path));
}

}  // namespace

bool FileExists(const std::wstring& path) {
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = ::GetLastError();
    if (IsMissing(error)) return false;
    ThrowFileSystemError("exists", error, path);
}

bool RemoveFile(const std::wstring& path) {
    if (::DeleteFileW(path.c_str())) return true;
    const DWORD error = ::GetLastError();
    if (!IsMissing(error)) ThrowFileSystemError("remove", error, path);
    return false;
}

bool CreateFolders(const std::wstring& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return !error;
}

bool EnsureFolder(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return IsMissing(::GetLastError()) && CreateFolders(path);
}

std::vector<std::wstring> ListFileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    AppendFileNames(folder, names);
    return names;
}

void AppendFileNames(const std::wstring& folder, std::vector<std::wstring>& names) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + L"\\*";
    UniqueFindHandle search;
    if (HANDLE first = ::FindFirstFileW(pattern.c_str(), &found); first != INVALID_HANDLE_VALUE) search.Reset(first);
    if (!search) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return;  // a folder without even "." (a drive root)
        ThrowFileSystemError("list", error, folder);
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (::FindNextFileW(search.Get(), &found));
    const DWORD error = ::GetLastError();
    if (error != ERROR_NO_MORE_FILES) ThrowFileSystemError("list", error, folder);
}

}  // namespace veltrano
