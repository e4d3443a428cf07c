#include "platform/foundation/CommonDigest.h"

#include <openssl/evp.h>

std::array<uint8_t, CC_MD5_DIGEST_LENGTH> CC_MD5(std::span<const uint8_t> bytes) {
    std::array<uint8_t, CC_MD5_DIGEST_LENGTH> digest{};
    unsigned length = 0;
    // The one-shot digest cannot fail for MD5 short of memory exhaustion, in which case
    // the digest stays zero rather than holding garbage.
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_md5(), nullptr);
    return digest;
}
