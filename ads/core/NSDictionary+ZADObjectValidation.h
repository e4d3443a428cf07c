// Typed reads of dictionaries that come from outside (request parameters, response headers,
// decoded JSON), where a value of the wrong kind must read as absent.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <string>

namespace ZADObjectValidation {

// The kinds of value a reader asks for. Booleans, integers and reals are all numbers, as
// they are one class on the platform.
enum class Class { Null, Number, String, Date, Data, Array, Dictionary };

// The value for `key` when it is of that kind; null when absent or of another kind.
const PlistValue* zad_objectForKeyIfIsKindOfClass(const PlistValue::Dictionary& dictionary,
                                                  const std::string& key, Class kind);

} // namespace ZADObjectValidation
