// Looks at a property list's bytes before the parsing library sees them, and refuses what
// the library cannot read safely: it recurses once per level when it reads a binary list
// and when it frees any list (a file nested 200,000 deep overflows the stack), it copies
// every object a binary list refers to again (a few kilobytes can stand for billions of
// values), and it aborts the process on a binary dictionary key holding a NUL character.
// A refusal is NSCocoaErrorDomain / NSPropertyListReadCorruptError, like damaged data.
#pragma once

#include "platform/foundation/ErrorOr.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class PlistStructureCheck {
public:
    // Levels of arrays and dictionaries, far beyond any real file.
    static constexpr size_t kMaxDepth = 512;
    // Values in the list once read (a dictionary counts its keys and values): two million
    // settings are four million.
    static constexpr uint64_t kMaxValues = uint64_t{1} << 23;
    // Bytes; larger data is refused in either form.
    static constexpr size_t kMaxLength = size_t{128} << 20;

    // A binary list ("bplist00..."): its whole structure is checked, as the library would
    // read it from the top object. Anything that is not a well-formed list is refused.
    static ErrorOr<void> checkBinary(std::span<const uint8_t> data);
    // An XML list whose document starts at `start`: only its nesting is checked, counting
    // elements; markup it cannot tell apart from the library's reading (a comment,
    // processing instruction, declaration or CDATA section holding a '<', a tag holding
    // one) is refused. The library rejects the rest of what is malformed.
    static ErrorOr<void> checkXML(std::span<const uint8_t> data, size_t start);

private:
    // A binary list is "bplist00", the objects, a table of their offsets, and a 32-byte
    // trailer saying how wide offsets and object references are, how many objects there
    // are, which one is the top and where the table starts.
    explicit PlistStructureCheck(std::span<const uint8_t> data) : data_(data) {}

    // An object's kind (the high half of its marker), and for data, strings and
    // collections where their contents start and how many units or entries they hold.
    struct Object {
        int kind = 0;
        uint64_t start = 0;
        uint64_t count = 0;
    };
    // A collection on the walk's path and what it has left to visit.
    struct Frame {
        uint64_t object;
        uint64_t refs;     // where its references start
        uint64_t refCount; // keys and values for a dictionary
        uint64_t next = 0; // the next reference to visit
        uint64_t values = 1;
        size_t height = 0; // the deepest nesting below it seen so far
    };
    enum State : uint8_t { Unseen, Open, Done };

    ErrorOr<void> checkBinaryStructure();
    uint64_t read(uint64_t at, size_t size) const;
    std::optional<Object> objectAt(uint64_t index) const;
    bool hasNul(const Object& string) const;
    // Visits object `index`: true when it is done with (a value, or a collection seen
    // before), false when a frame was pushed for it.
    ErrorOr<bool> enter(uint64_t index);
    void finish(uint64_t index, uint64_t values, size_t height);

    std::span<const uint8_t> data_;
    size_t offsetSize_ = 0;
    size_t refSize_ = 0;
    uint64_t objectCount_ = 0;
    uint64_t tableStart_ = 0;
    std::vector<uint8_t> state_;
    // For objects done: their values once read (at most kMaxValues + 1) and how many
    // levels of collections they are.
    std::vector<uint64_t> values_;
    std::vector<uint16_t> heights_;
    std::vector<Frame> stack_;
};
