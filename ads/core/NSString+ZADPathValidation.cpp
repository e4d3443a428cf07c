#include "ads/core/NSString+ZADPathValidation.h"

namespace ZADPathValidation {

std::string zad_stripTrailingSlash(const std::string& text) {
    if (!text.empty() && text.back() == '/') {
        return text.substr(0, text.size() - 1);
    }
    return text;
}

bool zad_isEquivalentToURLString(const std::string& text, const std::string& other) {
    return zad_stripTrailingSlash(text) == zad_stripTrailingSlash(other);
}

} // namespace ZADPathValidation
