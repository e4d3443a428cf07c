#include "ads/signals/NSString+ZADStringNumberAdditions.h"

#include "platform/foundation/CommonDigest.h"
#include "platform/foundation/NSString.h"

#include <span>

namespace ZADStringNumberAdditions {

std::optional<std::vector<uint8_t>> zad_MD5Data(const std::string& text) {
    if (!NSString::isValidUTF8(text)) {
        return std::nullopt;
    }
    auto digest = CC_MD5(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    return std::vector<uint8_t>(digest.begin(), digest.end());
}

std::optional<std::string> zad_MD5String(const std::string& text) {
    auto digest = zad_MD5Data(text);
    if (!digest) {
        return std::nullopt;
    }
    static const char hex[] = "0123456789abcdef";
    std::string digits;
    for (uint8_t byte : *digest) {
        digits += hex[byte >> 4];
        digits += hex[byte & 0x0F];
    }
    return digits;
}

} // namespace ZADStringNumberAdditions
