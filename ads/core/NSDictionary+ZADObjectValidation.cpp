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

} // namespace ZADObjectValidation
