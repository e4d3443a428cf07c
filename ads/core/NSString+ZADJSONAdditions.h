// Reading JSON text into the values collections hold.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/foundation/PlistValue.h"

#include <string>

namespace ZADJSONAdditions {

// The text's JSON value, any kind at the top (a bare number or string included); the
// parser's error when it is not JSON.
ErrorOr<PlistValue> zad_decodedJSONObject(const std::string& text);

} // namespace ZADJSONAdditions
