// Typed reads of dictionaries that come from outside (request parameters, response headers,
// decoded JSON), where a value of the wrong kind must read as absent.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <optional>
#include <string>
#include <vector>

namespace ZADObjectValidation {

// The kinds of value a reader asks for. Booleans, integers and reals are all numbers, as
// they are one class on the platform.
enum class Class { Null, Number, String, Date, Data, Array, Dictionary };

// The value for `key` when it is of that kind; null when absent or of another kind.
const PlistValue* zad_objectForKeyIfIsKindOfClass(const PlistValue::Dictionary& dictionary,
                                                  const std::string& key, Class kind);

// The texts among an array's elements, in order; the other elements are skipped.
std::vector<std::string> zad_stringsOf(const PlistValue::Array& array);
// The texts of the array under `key`; nothing when there is no array there.
std::optional<std::vector<std::string>> zad_stringsForKey(const PlistValue::Dictionary& dictionary,
                                                          const std::string& key);

} // namespace ZADObjectValidation
