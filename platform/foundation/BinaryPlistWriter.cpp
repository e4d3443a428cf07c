#include "platform/foundation/BinaryPlistWriter.h"

#include <glib.h>

#include <bit>

namespace {

// The fewest of 1, 2, 4 or 8 bytes that hold `largest`.
size_t widthFor(uint64_t largest) {
    if (largest <= 0xFF) {
        return 1;
    }
    if (largest <= 0xFFFF) {
        return 2;
    }
    return largest <= 0xFFFFFFFF ? 4 : 8;
}

bool isASCII(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

BinaryPlistWriter::BinaryPlistWriter(size_t objectCount) : refSize_(widthFor(objectCount - 1)) {
    offsets_.reserve(objectCount);
    queue_.reserve(objectCount);
    bytes_ = {'b', 'p', 'l', 'i', 's', 't', '0', '0'};
}

std::vector<uint8_t> BinaryPlistWriter::write(const PlistValue& value, size_t objectCount) {
    BinaryPlistWriter writer(objectCount);
    writer.queue_.push_back({&value, nullptr});
    // Writing an object queues its members, so the queue grows as it is walked.
    for (size_t next = 0; next < writer.queue_.size(); ++next) {
        writer.writeObject(writer.queue_[next]);
    }
    return writer.finish();
}

void BinaryPlistWriter::writeObject(Pending object) {
    offsets_.push_back(bytes_.size());
    if (object.key) {
        writeString(object.key->c_str());
        return;
    }
    const PlistValue& value = *object.value;
    switch (value.type()) {
    case PlistValue::Type::Null:
        break; // refused before writing
    case PlistValue::Type::Boolean:
        bytes_.push_back(value.boolValue() ? 0x09 : 0x08);
        break;
    case PlistValue::Type::Integer:
        writeInteger(value.integerValue());
        break;
    case PlistValue::Type::Real:
        bytes_.push_back(0x23);
        appendBigEndian(std::bit_cast<uint64_t>(value.doubleValue()), 8);
        break;
    case PlistValue::Type::Date:
        bytes_.push_back(0x33);
        appendBigEndian(std::bit_cast<uint64_t>(value.date()->timeIntervalSinceReferenceDate), 8);
        break;
    case PlistValue::Type::Data: {
        const auto& data = *value.data();
        writeMarker(0x4, data.size());
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        break;
    }
    case PlistValue::Type::String:
        writeString(value.string()->c_str());
        break;
    case PlistValue::Type::Array: {
        const auto& items = *value.array();
        writeMarker(0xA, items.size());
        for (const auto& item : items) {
            writeReference(queue_.size());
            queue_.push_back({&item, nullptr});
        }
        break;
    }
    case PlistValue::Type::Dictionary: {
        const auto& members = *value.dictionary();
        writeMarker(0xD, members.size());
        for (const auto& [key, member] : members) {
            writeReference(queue_.size());
            queue_.push_back({nullptr, &key});
        }
        for (const auto& [key, member] : members) {
            writeReference(queue_.size());
            queue_.push_back({&member, nullptr});
        }
        break;
    }
    }
}

// ASCII as it is; anything else as UTF-16 (big-endian), as readers expect. Text ends at
// a NUL character, as in the XML form, which cannot hold one.
void BinaryPlistWriter::writeString(std::string_view text) {
    if (isASCII(text)) {
        writeMarker(0x5, text.size());
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return;
    }
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    glong units = 0;
    gunichar2* utf16 = g_utf8_to_utf16(valid, -1, nullptr, &units, nullptr);
    g_free(valid);
    if (!utf16) {
        units = 0;
    }
    writeMarker(0x6, static_cast<uint64_t>(units));
    for (glong i = 0; i < units; ++i) {
        appendBigEndian(utf16[i], 2);
    }
    g_free(utf16);
}

// A kind and its count: in the marker's low half when it fits, else after it as an integer.
void BinaryPlistWriter::writeMarker(uint8_t kind, uint64_t count) {
    if (count < 0xF) {
        bytes_.push_back(static_cast<uint8_t>(kind << 4 | count));
        return;
    }
    bytes_.push_back(static_cast<uint8_t>(kind << 4 | 0xF));
    writeInteger(static_cast<int64_t>(count));
}

// Integers are signed: negative ones take all 8 bytes, others the fewest that hold them.
void BinaryPlistWriter::writeInteger(int64_t value) {
    const size_t width = value < 0 ? 8 : widthFor(static_cast<uint64_t>(value));
    bytes_.push_back(static_cast<uint8_t>(0x10 | std::countr_zero(width)));
    appendBigEndian(static_cast<uint64_t>(value), width);
}

void BinaryPlistWriter::writeReference(uint64_t index) {
    appendBigEndian(index, refSize_);
}

void BinaryPlistWriter::appendBigEndian(uint64_t value, size_t size) {
    for (size_t i = size; i-- > 0;) {
        bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// The offset table and the trailer: six unused bytes, the offsets' and references'
// widths, the number of objects, the top object (the first) and where the table starts.
std::vector<uint8_t> BinaryPlistWriter::finish() {
    const uint64_t table = bytes_.size();
    const size_t offsetSize = widthFor(table);
    for (uint64_t offset : offsets_) {
        appendBigEndian(offset, offsetSize);
    }
    bytes_.insert(bytes_.end(), 6, 0);
    bytes_.push_back(static_cast<uint8_t>(offsetSize));
    bytes_.push_back(static_cast<uint8_t>(refSize_));
    appendBigEndian(offsets_.size(), 8);
    appendBigEndian(0, 8);
    appendBigEndian(table, 8);
    return std::move(bytes_);
}
