#include "platform/foundation/NSJSONSerialization.h"

#include "platform/foundation/ErrorOr.h"
#include "platform/foundation/NSString.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr const char* kNotJSON =
    "The data couldn\u2019t be read because it isn\u2019t in the correct format.";

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

PlistValue plistValueOf(const nlohmann::json& json) {
    switch (json.type()) {
    case nlohmann::json::value_t::boolean:
        return json.get<bool>();
    case nlohmann::json::value_t::number_integer:
        return json.get<int64_t>();
    case nlohmann::json::value_t::number_unsigned: {
        auto number = json.get<uint64_t>();
        if (number <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
            return static_cast<int64_t>(number);
        }
        return static_cast<double>(number);
    }
    case nlohmann::json::value_t::number_float:
        return json.get<double>();
    case nlohmann::json::value_t::string:
        return json.get<std::string>();
    case nlohmann::json::value_t::array: {
        PlistValue::Array array;
        array.reserve(json.size());
        for (const auto& element : json) {
            array.push_back(plistValueOf(element));
        }
        return array;
    }
    case nlohmann::json::value_t::object: {
        PlistValue::Dictionary dictionary;
        for (const auto& [key, element] : json.items()) {
            dictionary.emplace(key, plistValueOf(element));
        }
        return dictionary;
    }
    default:
        return PlistValue();
    }
}

// Whether `value` and all it holds can be written, `depth` levels down already.
bool isWritable(const PlistValue& value, size_t depth) {
    switch (value.type()) {
    case PlistValue::Type::Null:
    case PlistValue::Type::Boolean:
    case PlistValue::Type::Integer:
        return true;
    case PlistValue::Type::Real:
        return std::isfinite(value.doubleValue());
    case PlistValue::Type::String:
        return NSString::isValidUTF8(*value.string());
    case PlistValue::Type::Array:
        return depth < NSJSONSerialization::kMaxDepth &&
               std::all_of(
                   value.array()->begin(), value.array()->end(),
                   [&](const PlistValue& element) { return isWritable(element, depth + 1); });
    case PlistValue::Type::Dictionary:
        return depth < NSJSONSerialization::kMaxDepth &&
               std::all_of(value.dictionary()->begin(), value.dictionary()->end(),
                           [&](const auto& entry) {
                               return NSString::isValidUTF8(entry.first) &&
                                      isWritable(entry.second, depth + 1);
                           });
    default:
        return false;
    }
}

// `value`, already known writable, as the JSON library's value.
nlohmann::json jsonOf(const PlistValue& value) {
    switch (value.type()) {
    case PlistValue::Type::Boolean:
        return value.boolValue();
    case PlistValue::Type::Integer:
        return value.integerValue();
    case PlistValue::Type::Real:
        return value.doubleValue();
    case PlistValue::Type::String:
        return *value.string();
    case PlistValue::Type::Array: {
        nlohmann::json array = nlohmann::json::array();
        for (const auto& element : *value.array()) {
            array.push_back(jsonOf(element));
        }
        return array;
    }
    case PlistValue::Type::Dictionary: {
        nlohmann::json object = nlohmann::json::object();
        for (const auto& [key, element] : *value.dictionary()) {
            object[key] = jsonOf(element);
        }
        return object;
    }
    default:
        return nullptr;
    }
}

} // namespace

std::optional<nlohmann::json>
NSJSONSerialization::JSONObjectWithData(const std::vector<uint8_t>& data,
                                        std::shared_ptr<NSError>* error) {
    if (data.size() > kMaxLength) {
        fail(error, std::string(kNotJSON) + " It is larger than " +
                        std::to_string(kMaxLength / (1024 * 1024)) + " MB.");
        return std::nullopt;
    }
    if (nestingDepth(data) > kMaxDepth) {
        fail(error, std::string(kNotJSON) + " Its arrays and objects nest deeper than " +
                        std::to_string(kMaxDepth) + " levels.");
        return std::nullopt;
    }
    auto value = nlohmann::json::parse(data.begin(), data.end(), nullptr, false);
    if (value.is_discarded()) {
        fail(error, kNotJSON);
        return std::nullopt;
    }
    return value;
}

std::optional<PlistValue> NSJSONSerialization::JSONObjectWithDataOptionsError(
    const std::vector<uint8_t>& data, unsigned options, std::shared_ptr<NSError>* error) {
    auto json = JSONObjectWithData(data, error);
    if (!json) {
        return std::nullopt;
    }
    if (!(options & NSJSONReadingFragmentsAllowed) && !json->is_object() && !json->is_array()) {
        fail(error, std::string(kNotJSON) + " Its top is neither an object nor an array.");
        return std::nullopt;
    }
    return plistValueOf(*json);
}

bool NSJSONSerialization::isValidJSONObject(const PlistValue& value) {
    return (value.type() == PlistValue::Type::Dictionary ||
            value.type() == PlistValue::Type::Array) &&
           isWritable(value, 0);
}

std::optional<std::vector<uint8_t>>
NSJSONSerialization::dataWithJSONObjectOptionsError(const PlistValue& value, unsigned options,
                                                    std::shared_ptr<NSError>* error) {
    if (!isValidJSONObject(value)) {
        if (error) {
            *error = makeError(NSCocoaErrorDomain, NSPropertyListWriteInvalidError,
                               "The data couldn\u2019t be written because it isn\u2019t in the "
                               "correct format.");
        }
        return std::nullopt;
    }
    std::string text = jsonOf(value).dump(options & NSJSONWritingPrettyPrinted ? 2 : -1);
    return std::vector<uint8_t>(text.begin(), text.end());
}
