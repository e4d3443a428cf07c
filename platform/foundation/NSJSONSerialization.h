// JSON from bytes, checked where it enters: data from outside (a service's answer) that is
// damaged, larger than kMaxLength or nested deeper than kMaxDepth gives an error value,
// never a crash. Writing takes the values collections hold and refuses what JSON cannot
// say.
#pragma once

#include "platform/foundation/NSError.h"
#include "platform/foundation/PlistValue.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

enum NSJSONReadingOptions : unsigned { NSJSONReadingFragmentsAllowed = 4 };
enum NSJSONWritingOptions : unsigned { NSJSONWritingPrettyPrinted = 1 };

struct NSJSONSerialization {
    // Far beyond any answer this system reads; work on a value (copying, comparing,
    // writing) recurses once per level, so nesting is bounded before parsing.
    static constexpr size_t kMaxDepth = 512;
    static constexpr size_t kMaxLength = 16 * 1024 * 1024;

    // Reads a JSON text (any value at the top). On failure: nothing, and `error` (when
    // given) is set to NSCocoaErrorDomain / NSPropertyListReadCorruptError.
    static std::optional<nlohmann::json> JSONObjectWithData(const std::vector<uint8_t>& data,
                                                            std::shared_ptr<NSError>* error);
    // The same reading into the values collections hold: objects become dictionaries,
    // integers that fit 64 signed bits integers, other numbers reals, null a null value.
    // Without NSJSONReadingFragmentsAllowed the top must be an object or an array.
    static std::optional<PlistValue>
    JSONObjectWithDataOptionsError(const std::vector<uint8_t>& data, unsigned options,
                                   std::shared_ptr<NSError>* error);

    // Whether `value` can be written: a dictionary or an array at the top, holding only
    // dictionaries, arrays, UTF-8 strings, finite numbers, booleans and nulls, nested no
    // deeper than kMaxDepth. Dates and data are not JSON.
    static bool isValidJSONObject(const PlistValue& value);
    // `value` as UTF-8 JSON text, keys in order, indented with NSJSONWritingPrettyPrinted
    // and compact otherwise. Nothing, and NSCocoaErrorDomain /
    // NSPropertyListWriteInvalidError in `error`, when it is not a valid JSON object.
    static std::optional<std::vector<uint8_t>>
    dataWithJSONObjectOptionsError(const PlistValue& value, unsigned options,
                                   std::shared_ptr<NSError>* error);
};
