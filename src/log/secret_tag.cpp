#include "log/secret_tag.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <stdexcept>

#include "base/text_encoding.h"
#include "storage/file_system.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

constexpr size_t kTagBytes = 8;

void Check(NTSTATUS status, const char* what) {
    if (!BCRYPT_SUCCESS(status)) throw std::runtime_error(std::string(what) + " failed");
}

std::string Hex(const std::uint8_t* bytes, size_t count) {
    std::string hex;
    char digits[3];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        hex += digits;
    }
    return hex;
}

std::optional<SecretTagKey> FromHex(std::string_view hex) {
    SecretTagKey key{};
    if (hex.size() != key.size() * 2) return std::nullopt;
    for (size_t i = 0; i < key.size(); ++i) {
        unsigned value = 0;
        if (std::sscanf(std::string(hex.substr(2 * i, 2)).c_str(), "%2x", &value) != 1) return std::nullopt;
        key[i] = static_cast<std::uint8_t>(value);
    }
    return key;
}

}  // namespace

size_t CharacterCount(std::wstring_view text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        i += IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
        ++count;
    }
    return count;
}

SecretTagKey NewSecretTagKey() {
    SecretTagKey key{};
    Check(::BCryptGenRandom(nullptr, key.data(), static_cast<ULONG>(key.size()), BCRYPT_USE_SYSTEM_PREFERRED_RNG),
          "BCryptGenRandom");
    return key;
}

std::wstring SecretTag(std::wstring_view text, const SecretTagKey& key) {
    const std::string bytes = WideToUtf8(text);
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    Check(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, BCRYPT_ALG_HANDLE_HMAC_FLAG),
          "BCryptOpenAlgorithmProvider");
    BCRYPT_HASH_HANDLE hash = nullptr;
    std::array<std::uint8_t, 32> digest{};
    NTSTATUS status = ::BCryptCreateHash(algorithm, &hash, nullptr, 0, const_cast<PUCHAR>(key.data()),
                                         static_cast<ULONG>(key.size()), 0);
    if (BCRYPT_SUCCESS(status)) {
        status = ::BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                                  static_cast<ULONG>(bytes.size()), 0);
        if (BCRYPT_SUCCESS(status)) status = ::BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0);
        ::BCryptDestroyHash(hash);
    }
    ::BCryptCloseAlgorithmProvider(algorithm, 0);
    Check(status, "HMAC-SHA256");
    return L"<" + std::to_wstring(CharacterCount(text)) + L"文字 #" + Utf8ToWide(Hex(digest.data(), kTagBytes)) + L">";
}

LoadedSecretTagKey LoadOrCreateSecretTagKey(const std::wstring& path) {
    const bool exists = FileExists(path);
    if (exists) {
        try {
            if (const std::optional<SecretTagKey> key = FromHex(ReadEncryptedFile(path))) return {*key, false};
        } catch (const std::runtime_error&) {
            // Unreadable: a new key below.
        }
    }
    const SecretTagKey key = NewSecretTagKey();
    WriteEncryptedFile(path, Hex(key.data(), key.size()));
    return {key, exists};
}

}  // namespace veltrano
