#include "ads/core/NSString+ZADURLEncoding.h"

namespace ZADURLEncoding {

std::string zad_stringByEscapingAsURLParameter(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                          (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' ||
                          byte == '.' || byte == '~';
        if (unreserved) {
            escaped += c;
        } else {
            escaped += '%';
            escaped += hex[byte >> 4];
            escaped += hex[byte & 0x0F];
        }
    }
    return escaped;
}

} // namespace ZADURLEncoding
