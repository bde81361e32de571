#include "base/sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <stdexcept>

namespace veltrano {

Sha256Digest Sha256(std::span<const std::byte> bytes, std::span<const std::uint8_t> hmacKey) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    NTSTATUS status = ::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                    hmacKey.empty() ? 0 : BCRYPT_ALG_HANDLE_HMAC_FLAG);
    if (!BCRYPT_SUCCESS(status)) throw std::runtime_error("BCryptOpenAlgorithmProvider failed");
    BCRYPT_HASH_HANDLE hash = nullptr;
    Sha256Digest digest{};
    status = ::BCryptCreateHash(algorithm, &hash, nullptr, 0, const_cast<PUCHAR>(hmacKey.data()),
                                static_cast<ULONG>(hmacKey.size()), 0);
    if (BCRYPT_SUCCESS(status)) {
        // In pieces a ULONG can count.
        constexpr size_t kPiece = size_t{1} << 30;
        for (size_t done = 0; BCRYPT_SUCCESS(status) && done < bytes.size(); done += kPiece) {
            const size_t size = std::min(kPiece, bytes.size() - done);
            status = ::BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<std::byte*>(bytes.data() + done)),
                                      static_cast<ULONG>(size), 0);
        }
        if (BCRYPT_SUCCESS(status)) status = ::BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0);
        ::BCryptDestroyHash(hash);
    }
    ::BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!BCRYPT_SUCCESS(status)) throw std::runtime_error(hmacKey.empty() ? "SHA-256 failed" : "HMAC-SHA256 failed");
    return digest;
}

}  // namespace veltrano
