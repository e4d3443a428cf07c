#include "platform/foundation/NSJSONSerialization.h"

#include "platform/foundation/ErrorOr.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

namespace {

// The deepest nesting of arrays and objects in `data`, counted outside strings. The
// parser stops at the first fault, so the nesting it reaches is never deeper than this.
size_t nestingDepth(const std::vector<uint8_t>& data) {
    size_t depth = 0;
    size_t deepest = 0;
    bool inString = false;
    bool escaped = false;
    for (uint8_t c : data) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

void fail(std::shared_ptr<NSError>* error, const std::string& message) {
    if (error) {
        *error = makeError(NSCocoaErrorDomain, NSPropertyListReadCorruptError, message);
    }
}

} // namespace

std::optional<nlohmann::json>
NSJSONSerialization::JSONObjectWithData(const std::vector<uint8_t>& data,
                                        std::shared_ptr<NSError>* error) {
    if (data.size() > kMaxLength) {
        fail(error, NSError::wrongFormatDescription() + " It is larger than " +
                        std::to_string(kMaxLength / (1024 * 1024)) + " MB.");
        return std::nullopt;
    }
    if (nestingDepth(data) > kMaxDepth) {
        fail(error, NSError::wrongFormatDescription() +
                        " Its arrays and objects nest deeper than " + std::to_string(kMaxDepth) +
                        " levels.");
        return std::nullopt;
    }
    auto value = nlohmann::json::parse(data.begin(), data.end(), nullptr, false);
    if (value.is_discarded()) {
        fail(error, NSError::wrongFormatDescription());
        return std::nullopt;
    }
    return value;
}
