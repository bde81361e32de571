#pragma once
// What a log line holds in place of a copied text when the user keeps texts out of the log:
// "<" + its length in characters + "文字 #" + 16 hex digits + ">", the digits the first 8 bytes
// of HMAC-SHA256 over the text's UTF-8 under a key of this user's. Equal texts give equal tags,
// so repeats can be counted without reading anything.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

using SecretTagKey = std::array<std::uint8_t, 32>;

// Characters as the user counts them: a surrogate pair is one.
size_t CharacterCount(std::wstring_view text);

// 32 bytes from the system's random number generator; throws std::runtime_error on failure.
SecretTagKey NewSecretTagKey();

// The tag of `text` under `key`; throws std::runtime_error when the hash service fails.
std::wstring SecretTag(std::wstring_view text, const SecretTagKey& key);

struct LoadedSecretTagKey {
    SecretTagKey key;
    bool replaced;  // a file was there but could not be read: its key is lost
};

// The key kept sealed in `path` (64 hex digits); made at first use, and made anew when the file
// cannot be read. Throws std::runtime_error when no key can be kept.
LoadedSecretTagKey LoadOrCreateSecretTagKey(const std::wstring& path);

}  // namespace veltrano
