#include "ads/core/NSString+ZADJSONAdditions.h"

#include "platform/foundation/NSJSONSerialization.h"

namespace ZADJSONAdditions {

ErrorOr<PlistValue> zad_decodedJSONObject(const std::string& text) {
    std::shared_ptr<NSError> error;
    auto value = NSJSONSerialization::JSONObjectWithDataOptionsError(
        std::vector<uint8_t>(text.begin(), text.end()), NSJSONReadingFragmentsAllowed, &error);
    if (!value) {
        return error;
    }
    return std::move(*value);
}

} // namespace ZADJSONAdditions
