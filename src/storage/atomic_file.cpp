#include "storage/atomic_file.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <stdexcept>

#include "base/scope_exit.h"
#include "base/text_encoding.h"
#include "base/unique_any.h"

namespace veltrano {
namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD request = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), request, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::wstring TemporaryPathBeside(const std::wstring& path, unsigned attempt) {
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    wchar_t name[32];
    swprintf(name, std::size(name), L"~%lx-%x.tmp", ::GetCurrentProcessId(), attempt);
    return folder + name;
}

std::string FileErrorMessage(const char* message, const std::wstring& path) {
    return std::string(message) + WideToUtf8(path);
}

void ReplaceFileAtomically(const std::wstring& path, std::initializer_list<FileChunk> chunks) {
    // A file left by a crashed process whose id came back, or another thread's, is passed over.
    std::wstring temporary;
    UniqueFileHandle file;
    for (unsigned attempt = 0; !file && attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = TemporaryPathBeside(path, attempt);
        const HANDLE created = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = ::GetLastError();
        file.Reset(created);
        if (!file && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    if (!file) throw std::runtime_error(FileErrorMessage("Failed to open file for writing: ", path));
    ScopeExit removeTemporary([&] {
        file.Reset();
        ::DeleteFileW(temporary.c_str());
    });

    // A failed flush means the last chunk did not reach the disk.
    const char* lastMessage = "Failed to open file for writing: ";
    for (const FileChunk& chunk : chunks) {
        lastMessage = chunk.errorMessage;
        if (!WriteAll(file.Get(), chunk.bytes)) throw std::runtime_error(FileErrorMessage(lastMessage, path));
    }
    if (!::FlushFileBuffers(file.Get())) throw std::runtime_error(FileErrorMessage(lastMessage, path));
    file.Reset();

    if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw std::runtime_error(FileErrorMessage("Failed to open file for writing: ", path));
    removeTemporary.Dismiss();
}

}  // namespace veltrano
