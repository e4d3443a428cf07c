// Binary property lists assembled object by object, for shapes no writer makes: lists
// nested or shared far beyond reason, references that point nowhere.
#pragma once

#include <cstdint>
#include <vector>

class BinaryPlistBuilder {
public:
    using Bytes = std::vector<uint8_t>;

    // Adds an object and returns its index; references in it are kRefSize bytes wide.
    uint32_t add(Bytes object) {
        objects_.push_back(std::move(object));
        return static_cast<uint32_t>(objects_.size() - 1);
    }
    // An array of `refs`, or (kind 0xD) a dictionary whose refs are its keys, then values.
    static Bytes collection(const std::vector<uint32_t>& refs, uint8_t kind = 0xA) {
        const size_t count = kind == 0xD ? refs.size() / 2 : refs.size();
        Bytes bytes;
        if (count < 15) {
            bytes.push_back(static_cast<uint8_t>(kind << 4 | count));
        } else {
            bytes = {static_cast<uint8_t>(kind << 4 | 0xF), 0x12};
            appendBigEndian(bytes, count, 4);
        }
        for (uint32_t ref : refs) {
            appendBigEndian(bytes, ref, kRefSize);
        }
        return bytes;
    }
    // "bplist00", the objects, their offsets, and the trailer naming `top`.
    Bytes build(uint32_t top) const {
        Bytes bytes = {'b', 'p', 'l', 'i', 's', 't', '0', '0'};
        std::vector<uint64_t> offsets;
        for (const auto& object : objects_) {
            offsets.push_back(bytes.size());
            bytes.insert(bytes.end(), object.begin(), object.end());
        }
        const uint64_t table = bytes.size();
        for (uint64_t offset : offsets) {
            appendBigEndian(bytes, offset, kOffsetSize);
        }
        Bytes trailer(6, 0);
        trailer.push_back(kOffsetSize);
        trailer.push_back(kRefSize);
        appendBigEndian(trailer, objects_.size(), 8);
        appendBigEndian(trailer, top, 8);
        appendBigEndian(trailer, table, 8);
        bytes.insert(bytes.end(), trailer.begin(), trailer.end());
        return bytes;
    }

    // `levels` arrays, each holding the next; the innermost is empty.
    static Bytes nestedArrays(uint32_t levels) {
        BinaryPlistBuilder builder;
        for (uint32_t i = 0; i + 1 < levels; ++i) {
            builder.add(collection({i + 1}));
        }
        builder.add(collection({}));
        return builder.build(0);
    }

private:
    static constexpr uint8_t kOffsetSize = 4;
    static constexpr uint8_t kRefSize = 4;

    static void appendBigEndian(Bytes& bytes, uint64_t value, size_t size) {
        for (size_t i = size; i-- > 0;) {
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        }
    }

    std::vector<Bytes> objects_;
};
