#include "ads/core/NSDictionary+ZADObjectValidation.h"

namespace ZADObjectValidation {

namespace {

Class classOf(PlistValue::Type type) {
    switch (type) {
    case PlistValue::Type::Boolean:
    case PlistValue::Type::Integer:
    case PlistValue::Type::Real:
        return Class::Number;
    case PlistValue::Type::String:
        return Class::String;
    case PlistValue::Type::Date:
        return Class::Date;
    case PlistValue::Type::Data:
        return Class::Data;
    case PlistValue::Type::Array:
        return Class::Array;
    case PlistValue::Type::Dictionary:
        return Class::Dictionary;
    case PlistValue::Type::Null:
        break;
    }
    return Class::Null;
}

} // namespace

const PlistValue* zad_objectForKeyIfIsKindOfClass(const PlistValue::Dictionary& dictionary,
                                                  const std::string& key, Class kind) {
    auto found = dictionary.find(key);
    if (found == dictionary.end() || classOf(found->second.type()) != kind) {
        return nullptr;
    }
    return &found->second;
}

std::vector<std::string> zad_stringsOf(const PlistValue::Array& array) {
    std::vector<std::string> strings;
    for (const auto& element : array) {
        if (const auto* text = element.string()) {
            strings.push_back(*text);
        }
    }
    return strings;
}

std::optional<std::vector<std::string>> zad_stringsForKey(const PlistValue::Dictionary& dictionary,
                                                          const std::string& key) {
    const auto* value = zad_objectForKeyIfIsKindOfClass(dictionary, key, Class::Array);
    if (!value) {
        return std::nullopt;
    }
    return zad_stringsOf(*value->array());
}

} // namespace ZADObjectValidation
