#include "log/secret_tag.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <stdexcept>

#include "base/sha256.h"
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
    const Sha256Digest digest = Sha256(std::as_bytes(std::span(bytes)), key);
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
