// Property lists to and from bytes (XML or binary), checked where they enter: a damaged
// file gives an error value, never a crash.
#pragma once

#include "platform/foundation/NSError.h"
#include "platform/foundation/PlistValue.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

enum class NSPropertyListFormat { XML, Binary };

struct NSPropertyListSerialization {
    // Reads an XML or binary property list. On failure: nothing, and `error` (when given)
    // is set, NSCocoaErrorDomain / NSPropertyListReadCorruptError for damaged data and for
    // lists too large or nested too deeply to read safely (PlistStructureCheck).
    static std::optional<PlistValue> propertyListWithData(std::span<const uint8_t> data,
                                                          std::shared_ptr<NSError>* error);
    // Writes a property list; null values (top level or inside collections) and dates a
    // property list cannot hold are NSPropertyListWriteInvalidError.
    static std::optional<std::vector<uint8_t>>
    dataWithPropertyList(const PlistValue& value, NSPropertyListFormat format,
                         std::shared_ptr<NSError>* error);
    // Reads the file at `path`; a missing file is NSFileReadNoSuchFileError.
    static std::optional<PlistValue>
    propertyListWithContentsOfFile(const std::string& path, std::shared_ptr<NSError>* error);
};
