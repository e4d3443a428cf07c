// Writes a property list in the binary form ("bplist00"), in time linear in its size. The
// parsing library's own writer indexes objects in a hash table of fixed size, so saving
// user defaults of 200,000 keys took seconds, and every launch saves them.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class BinaryPlistWriter {
public:
    // `value` must be writable: no null values, dates a property list can hold, nesting
    // bounded (NSPropertyListSerialization checks this before, and counts on the way the
    // `objectCount` writing makes: the value, every member and every dictionary key).
    static std::vector<uint8_t> write(const PlistValue& value, size_t objectCount);

private:
    // Objects are numbered breadth first: a collection's members take the next numbers,
    // keys before values, so each is written once its number is known and in order.
    struct Pending {
        const PlistValue* value = nullptr;
        const std::string* key = nullptr; // a dictionary's key, when not a value
    };

    explicit BinaryPlistWriter(size_t objectCount);
    void writeObject(Pending object);
    void writeString(std::string_view text);
    void writeMarker(uint8_t kind, uint64_t count);
    void writeInteger(int64_t value);
    void writeReference(uint64_t index);
    void appendBigEndian(uint64_t value, size_t size);
    std::vector<uint8_t> finish();

    std::vector<uint8_t> bytes_;
    std::vector<uint64_t> offsets_;
    std::vector<Pending> queue_;
    size_t refSize_;
};
