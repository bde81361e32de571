#include "storage/file_system.h"

#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "base/unique_any.h"
#include "storage/text_encoding.h"

namespace veltrano {
namespace {

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// FormatMessageW, not std::error_code::message(): the latter comes in the ANSI code page.
std::string SystemText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    UniqueHlocal owner(buffer);
    std::wstring text = length ? std::wstring(buffer, length) : L"error " + std::to_wstring(error);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return WideToUtf8(text);
}

[[noreturn]] void ThrowFileSystemError(const char* operation, DWORD error, const std::wstring& path) {
    throw std::runtime_error(std::string(operation) + ": " + SystemText(error) + ": " + WideToUtf8(path));
}

}  // namespace

bool FileExists(const std::wstring& path) {
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = ::GetLastError();
    if (IsMissing(error)) return false;
    ThrowFileSystemError("exists", error, path);
}

void RemoveFile(const std::wstring& path) {
    if (::DeleteFileW(path.c_str())) return;
    const DWORD error = ::GetLastError();
    if (!IsMissing(error)) ThrowFileSystemError("remove", error, path);
}

bool CreateFolders(const std::wstring& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return !error;
}

}  // namespace veltrano
