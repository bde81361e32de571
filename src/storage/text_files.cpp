#include "storage/text_files.h"

#include <windows.h>
#include <wincrypt.h>

#include <limits>
#include <stdexcept>

#include "base/text_encoding.h"
#include "base/unique_any.h"
#include "storage/atomic_file.h"

namespace veltrano {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string WithoutBom(std::string bytes) {
    if (bytes.starts_with(kUtf8Bom)) bytes.erase(0, kUtf8Bom.size());
    return bytes;
}

DATA_BLOB BlobOf(std::string_view bytes, const char* failure) {
    if (bytes.size() > std::numeric_limits<DWORD>::max()) throw std::runtime_error(failure);
    return DATA_BLOB{static_cast<DWORD>(bytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
}

std::string TakeBlob(DATA_BLOB& blob) {
    UniqueHlocal owner(blob.pbData);
    return std::string(reinterpret_cast<const char*>(blob.pbData), blob.cbData);
}

// Sealed before any file is touched, so a failing service leaves the old file as it was. Each
// copy of a giant text counts: the plain bytes go before the file is written, the sealed ones
// are written from the service's own buffer.
void SealAndReplace(const std::wstring& path, std::string plain) {
    DATA_BLOB in = BlobOf(plain, "CryptProtectData failed");
    DATA_BLOB out{};
    if (!::CryptProtectData(&in, nullptr, nullptr, nullptr, nullptr, 0, &out))
        throw std::runtime_error("CryptProtectData failed");
    const UniqueHlocal owner(out.pbData);
    std::string().swap(plain);
    const std::string_view sealed(reinterpret_cast<const char*>(out.pbData), out.cbData);
    ReplaceFileAtomically(path, {{sealed, "Failed to write encrypted file: "}});
}

}  // namespace

std::string ReadWholeFile(const std::wstring& path) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error(FileErrorMessage("Failed to open file for reading: ", path));

    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr))
            throw std::runtime_error(FileErrorMessage("Failed while reading file: ", path));
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return bytes;
}

std::string ReadUtf8TextFile(const std::wstring& path) {
    return WithoutBom(ReadWholeFile(path));
}

void WriteUtf8TextFile(const std::wstring& path, std::string_view bytes) {
    ReplaceFileAtomically(path, {{kUtf8Bom, "Failed to write UTF-8 BOM: "}, {bytes, "Failed to write file content: "}});
}

std::string ReadEncryptedFile(const std::wstring& path) {
    const std::string sealed = ReadWholeFile(path);
    if (sealed.empty()) throw std::runtime_error(FileErrorMessage("Encrypted file is empty: ", path));

    DATA_BLOB in = BlobOf(sealed, "CryptUnprotectData failed");
    DATA_BLOB out{};
    if (!::CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, 0, &out))
        throw std::runtime_error("CryptUnprotectData failed");
    return WithoutBom(TakeBlob(out));
}

void WriteEncryptedFile(const std::wstring& path, std::string_view bytes) {
    std::string plain;
    plain.reserve(kUtf8Bom.size() + bytes.size());
    plain.append(kUtf8Bom).append(bytes);
    SealAndReplace(path, std::move(plain));
}

void WriteEncryptedText(const std::wstring& path, std::wstring text) {
    std::string plain(kUtf8Bom);
    AppendUtf8(plain, text);
    std::wstring().swap(text);
    SealAndReplace(path, std::move(plain));
}

}  // namespace veltrano
