// JSON from bytes, checked where it enters: data from outside (a service's answer) that is
// damaged, larger than kMaxLength or nested deeper than kMaxDepth gives an error value,
// never a crash. Only reading is kept; this system writes no JSON.
#pragma once

#include "platform/foundation/NSError.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct NSJSONSerialization {
    // Far beyond any answer this system reads; work on a value (copying, comparing,
    // writing) recurses once per level, so nesting is bounded before parsing.
    static constexpr size_t kMaxDepth = 512;
    static constexpr size_t kMaxLength = 16 * 1024 * 1024;

    // Reads a JSON text (any value at the top). On failure: nothing, and `error` (when
    // given) is set to NSCocoaErrorDomain / NSPropertyListReadCorruptError.
    static std::optional<nlohmann::json> JSONObjectWithData(const std::vector<uint8_t>& data,
                                                            std::shared_ptr<NSError>* error);
};
