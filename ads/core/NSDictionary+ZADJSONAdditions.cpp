#include "ads/core/NSDictionary+ZADJSONAdditions.h"

#include "ads/core/NSString+ZADJSONAdditions.h"

#include "platform/foundation/NSJSONSerialization.h"

namespace ZADJSONAdditions {

namespace {

// The safe form of `dictionary`, or nothing when it is safe as it is, so that a
// dictionary with nothing to replace is never copied.
std::optional<PlistValue::Dictionary> madeSafe(const PlistValue::Dictionary& dictionary) {
    std::optional<PlistValue::Dictionary> copy;
    for (const auto& [key, value] : dictionary) {
        std::optional<PlistValue> replacement;
        if (const auto* nested = value.dictionary()) {
            if (auto safe = madeSafe(*nested)) {
                replacement = std::move(*safe);
            }
        } else if (!NSJSONSerialization::isValidJSONObject(PlistValue::Dictionary{{key, value}})) {
            replacement = value.description();
        }
        if (replacement) {
            if (!copy) {
                copy = dictionary;
            }
            (*copy)[key] = std::move(*replacement);
        }
    }
    return copy;
}

} // namespace

ErrorOr<std::string> zad_JSONStringPretty(const PlistValue::Dictionary& dictionary, bool pretty) {
    auto data = NSJSONSerialization::dataWithJSONObjectOptionsError(
        dictionary, pretty ? unsigned{NSJSONWritingPrettyPrinted} : 0u, nullptr);
    if (!data) {
        return ZADInternalErrorAdditions::zad_errorWithCodeDescription(
            kZADInvalidJSONObjectErrorCode, "Invalid JSON object.");
    }
    return zad_scriptSafeJSON(std::string(data->begin(), data->end()));
}

PlistValue::Dictionary zad_JSONSafeDictionary(const PlistValue::Dictionary& dictionary) {
    auto safe = madeSafe(dictionary);
    return safe ? std::move(*safe) : dictionary;
}

} // namespace ZADJSONAdditions
