// Writing dictionaries as JSON, and making any dictionary writable first.
#pragma once

#include "ads/core/NSError+ZADInternalErrorAdditions.h"
#include "platform/foundation/ErrorOr.h"
#include "platform/foundation/PlistValue.h"

#include <string>

namespace ZADJSONAdditions {

using ZADInternalErrorAdditions::kZADPrivateErrorDomain;
// The code of "Invalid JSON object." in that domain.
inline constexpr long kZADInvalidJSONObjectErrorCode = 2;

// The dictionary as JSON, indented when `pretty`, compact otherwise, and script-safe
// (zad_scriptSafeJSON): the engine pastes it into the scripts it builds. When it holds
// what JSON cannot say (dates, data, non-finite numbers, text that is not UTF-8): the
// private error 2, "Invalid JSON object.".
ErrorOr<std::string> zad_JSONStringPretty(const PlistValue::Dictionary& dictionary, bool pretty);

// A dictionary that zad_JSONStringPretty always writes: nested dictionaries made safe in
// turn, any other value JSON cannot say replaced by its description (an array holding one
// such value becomes the description of the whole array). Unchanged when already safe.
PlistValue::Dictionary zad_JSONSafeDictionary(const PlistValue::Dictionary& dictionary);

} // namespace ZADJSONAdditions
