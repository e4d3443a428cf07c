#include "ads/signals/ZADStringFromDouble.h"

#include "platform/foundation/NSString.h"

std::string ZADStringFromDouble(double value) {
    std::string text = NSString::stringWithFormat("%f", value);
    size_t end = text.find_last_not_of('0');
    if (end == std::string::npos) {
        return "";
    }
    // "%f" always writes a point, so only decimals are dropped, and the point with them.
    return text.substr(0, text[end] == '.' ? end : end + 1);
}
