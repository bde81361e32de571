#include "driver/program_folder.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "base/text_encoding.h"
#include "base/unique_any.h"
#include "driver/waiting.h"

namespace veltrano::driver {
namespace {

std::runtime_error FileError(const char* what, const std::wstring& path) {
    return std::runtime_error(std::string(what) + " " + WideToUtf8(path) + ", error " +
                              std::to_string(::GetLastError()));
}

UniqueFileHandle OpenFile(const std::wstring& path, DWORD access, DWORD disposition) {
    // Writes shared: the program may be appending to the log a test reads.
    UniqueFileHandle file(::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw FileError("cannot open", path);
    return file;
}

}  // namespace

TemporaryProgramFolder TemporaryProgramFolder::Create() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(static_cast<DWORD>(std::size(temp)), temp);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("GetTempPathW failed");
    static std::atomic<unsigned> counter{0};
    // Process id and a counter keep parallel runs and repeated fixtures apart.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring path = std::wstring(temp, length) + L"ヴェルトラーノ試験-" +
                                  std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        if (::CreateDirectoryW(path.c_str(), nullptr)) return TemporaryProgramFolder(path);
        if (::GetLastError() != ERROR_ALREADY_EXISTS) throw FileError("cannot create", path);
    }
    throw std::runtime_error("no free name for a temporary program folder");
}

TemporaryProgramFolder::TemporaryProgramFolder(TemporaryProgramFolder&& other) noexcept
    : path_(std::exchange(other.path_, {})) {}

TemporaryProgramFolder::~TemporaryProgramFolder() {
    if (path_.empty()) return;
    try {
        RemoveFolderTree(path_);
    } catch (const std::exception& error) {
        // A leftover folder in %TEMP% harms no test, but it must not go unnoticed.
        std::fprintf(stderr, "warning: %s\n", error.what());
    }
}

std::wstring TemporaryProgramFolder::PathOf(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

std::wstring TemporaryProgramFolder::CopyIn(const std::wstring& source) const {
    const std::wstring target = PathOf(std::filesystem::path(source).filename().wstring());
    if (!::CopyFileW(source.c_str(), target.c_str(), TRUE)) throw FileError("cannot copy to", target);
    return target;
}

std::wstring TemporaryProgramFolder::Release() noexcept { return std::exchange(path_, {}); }

void RemoveFolderTree(const std::wstring& path) {
    std::error_code error;
    const bool removed = PollUntil(10000, [&] {
        std::filesystem::remove_all(path, error);
        return !error;
    });
    if (!removed) throw std::runtime_error("cannot remove " + WideToUtf8(path) + ": " + error.message());
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::wstring& path) {
    UniqueFileHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) throw FileError("cannot measure", path);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        throw FileError("cannot read", path);
    }
    return bytes;
}

void WriteFileBytes(const std::wstring& path, std::string_view bytes) {
    UniqueFileHandle file = OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw FileError("cannot write", path);
    }
}

void WriteUtf16File(const std::wstring& path, std::wstring_view text) {
    std::string bytes("\xFF\xFE");
    for (wchar_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
    }
    WriteFileBytes(path, bytes);
}

std::wstring WindowsPathFromHost(std::wstring_view path) {
    std::wstring windows(path);
    std::replace(windows.begin(), windows.end(), L'/', L'\\');
    return path.starts_with(L'/') ? L"Z:" + windows : windows;
}

}  // namespace veltrano::driver
