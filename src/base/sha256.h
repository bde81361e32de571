#pragma once
// SHA-256 from the system's hash service, plain or keyed (HMAC-SHA256).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrano {

using Sha256Digest = std::array<std::uint8_t, 32>;

// HMAC-SHA256 under `hmacKey` when it is given. Throws std::runtime_error when the service fails.
Sha256Digest Sha256(std::span<const std::byte> bytes, std::span<const std::uint8_t> hmacKey = {});

}  // namespace veltrano
