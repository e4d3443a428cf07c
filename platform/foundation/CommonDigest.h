// The platform's message digests, on OpenSSL's libcrypto. MD5 is kept for what it is used
// for here, naming and fingerprinting content, never for security.
#pragma once

#include <array>
#include <cstdint>
#include <span>

inline constexpr size_t CC_MD5_DIGEST_LENGTH = 16;

// The MD5 digest of the bytes.
std::array<uint8_t, CC_MD5_DIGEST_LENGTH> CC_MD5(std::span<const uint8_t> bytes);
