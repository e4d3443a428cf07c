#include "ads/core/NSString+ZADReplaceContentAdditions.h"

#include "platform/foundation/NSString.h"

namespace ZADReplaceContentAdditions {

std::string zad_escapeAts(const std::string& text) {
    return NSString::stringByReplacingOccurrencesOfStringWithString(text, "@", "@@");
}

std::string zad_unescapeAts(const std::string& text) {
    return NSString::stringByReplacingOccurrencesOfStringWithString(text, "@@", "@");
}

} // namespace ZADReplaceContentAdditions
