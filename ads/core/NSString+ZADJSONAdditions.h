// Reading JSON text into the values collections hold, and writing text as JSON that a
// script the engine builds can hold without harm.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/foundation/PlistValue.h"

#include <string>

namespace ZADJSONAdditions {

// The text's JSON value, any kind at the top (a bare number or string included); the
// parser's error when it is not JSON.
ErrorOr<PlistValue> zad_decodedJSONObject(const std::string& text);

// The text as a JSON string literal, script-safe as zad_scriptSafeJSON makes it. Bytes
// that are not UTF-8 become U+FFFD, as text decoded from them reads: it never fails.
std::string zad_JSONStringLiteral(const std::string& text);

// JSON text rewritten so that pasting it into a script cannot change what the script
// does, saying the same value: every character outside ASCII becomes a \u escape (so
// U+2028 and U+2029, which end a line in older script engines, and the script's own
// encoding no longer matter), and every "<" becomes \u003c (so no "</script>" or "<!--"
// ends or bends an HTML script element around it). Both occur only inside strings in
// JSON, where an escape means the same character. Bytes that are not UTF-8 become U+FFFD.
std::string zad_scriptSafeJSON(const std::string& json);

} // namespace ZADJSONAdditions
