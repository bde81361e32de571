#include "storage/atomic_file.h"

#include <windows.h>

#include <atomic>
#include <algorithm>
#include <cwchar>
#include <iterator>
#include <stdexcept>

#include "base/scope_exit.h"
#include "base/unique_any.h"
#include "storage/text_encoding.h"

namespace veltrano {
namespace {

std::wstring TemporaryPathBeside(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    wchar_t suffix[48];
    swprintf(suffix, std::size(suffix), L".%lx-%x.tmp", ::GetCurrentProcessId(), counter.fetch_add(1));
    return path + suffix;
}

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

std::string FileErrorMessage(const char* message, const std::wstring& path) {
    return std::string(message) + WideToUtf8(path);
}

void ReplaceFileAtomically(const std::wstring& path, std::initializer_list<FileChunk> chunks) {
    const std::wstring temporary = TemporaryPathBeside(path);
    UniqueFileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error(FileErrorMessage("Failed to open file for writing: ", path));
    ScopeExit removeTemporary([&] {
        file.reset();
        ::DeleteFileW(temporary.c_str());
    });

    // A failed flush means the last chunk did not reach the disk.
    const char* lastMessage = "Failed to open file for writing: ";
    for (const FileChunk& chunk : chunks) {
        lastMessage = chunk.errorMessage;
        if (!WriteAll(file.get(), chunk.bytes)) throw std::runtime_error(FileErrorMessage(lastMessage, path));
    }
    if (!::FlushFileBuffers(file.get())) throw std::runtime_error(FileErrorMessage(lastMessage, path));
    file.reset();

    if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw std::runtime_error(FileErrorMessage("Failed to open file for writing: ", path));
    removeTemporary.Dismiss();
}

}  // namespace veltrano
