#include "platform/foundation/NSPropertyListSerialization.h"

#include "platform/foundation/ErrorOr.h"
#include "platform/foundation/NSData.h"

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sys/stat.h>

namespace {

// Deeper nesting than any real file has; refusing it keeps the recursion below bounded.
constexpr int kMaxDepth = 512;

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

void fail(std::shared_ptr<NSError>* error, long code, const std::string& message) {
    if (error) {
        *error = makeError(NSCocoaErrorDomain, code, message);
    }
}

std::shared_ptr<NSError> writeInvalid(std::string message) {
    return makeError(NSCocoaErrorDomain, NSPropertyListWriteInvalidError, std::move(message));
}

std::optional<PlistValue> fromNode(plist_t node, int depth) {
    if (!node || depth > kMaxDepth) {
        return std::nullopt;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return PlistValue(value != 0);
    }
    case PLIST_UINT:
    case PLIST_UID: {
        // Integers are signed 64-bit; the library hands them over as unsigned bits.
        uint64_t value = 0;
        if (plist_get_node_type(node) == PLIST_UID) {
            plist_get_uid_val(node, &value);
        } else {
            plist_get_uint_val(node, &value);
        }
        return PlistValue(static_cast<int64_t>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return PlistValue(value);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return PlistValue(std::string(text ? text : "", text ? length : 0));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        const auto* begin = reinterpret_cast<const uint8_t*>(bytes);
        return PlistValue(bytes ? PlistValue::Data(begin, begin + length) : PlistValue::Data());
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return PlistValue(NSDate{seconds + microseconds / 1e6});
    }
    case PLIST_ARRAY: {
        PlistValue::Array items;
        plist_array_iter iterator = nullptr;
        plist_array_new_iter(node, &iterator);
        for (;;) {
            plist_t item = nullptr;
            plist_array_next_item(node, iterator, &item);
            if (!item) {
                break;
            }
            auto value = fromNode(item, depth + 1);
            if (!value) {
                std::free(iterator);
                return std::nullopt;
            }
            items.push_back(std::move(*value));
        }
        std::free(iterator);
        return PlistValue(std::move(items));
    }
    case PLIST_DICT: {
        PlistValue::Dictionary members;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iterator, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            std::string name = key ? key : "";
            std::free(key);
            auto value = fromNode(item, depth + 1);
            if (!value) {
                std::free(iterator);
                return std::nullopt;
            }
            members[name] = std::move(*value);
        }
        std::free(iterator);
        return PlistValue(std::move(members));
    }
    default:
        return std::nullopt;
    }
}

// The node for `value`, or why it cannot be written.
ErrorOr<PlistNode> toNode(const PlistValue& value, int depth) {
    if (depth > kMaxDepth) {
        return writeInvalid("The property list nests too deeply to be written.");
    }
    switch (value.type()) {
    case PlistValue::Type::Null:
        return writeInvalid("A property list cannot hold a null value.");
    case PlistValue::Type::Boolean:
        return PlistNode(plist_new_bool(value.boolValue() ? 1 : 0));
    case PlistValue::Type::Integer:
        return PlistNode(plist_new_uint(static_cast<uint64_t>(value.integerValue())));
    case PlistValue::Type::Real:
        return PlistNode(plist_new_real(value.doubleValue()));
    case PlistValue::Type::String:
        return PlistNode(plist_new_string(value.string()->c_str()));
    case PlistValue::Type::Data: {
        const auto& bytes = *value.data();
        return PlistNode(plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    case PlistValue::Type::Date: {
        // The library keeps 32-bit seconds: about 1933 to 2069.
        double time = value.date()->timeIntervalSinceReferenceDate;
        double seconds = std::floor(time);
        if (!(seconds >= std::numeric_limits<int32_t>::min() &&
              seconds <= std::numeric_limits<int32_t>::max())) {
            return writeInvalid("The date " + value.date()->description() +
                                " is out of the range a property list can hold.");
        }
        int32_t microseconds = static_cast<int32_t>(std::lround((time - seconds) * 1e6));
        if (microseconds >= 1000000) {
            microseconds = 999999;
        }
        return PlistNode(plist_new_date(static_cast<int32_t>(seconds), microseconds));
    }
    case PlistValue::Type::Array: {
        PlistNode array(plist_new_array());
        for (const auto& item : *value.array()) {
            auto node = toNode(item, depth + 1);
            if (node.hasError()) {
                return node.error();
            }
            plist_array_append_item(array.get(), node.value().release());
        }
        return array;
    }
    case PlistValue::Type::Dictionary: {
        PlistNode dictionary(plist_new_dict());
        for (const auto& [key, member] : *value.dictionary()) {
            auto node = toNode(member, depth + 1);
            if (node.hasError()) {
                return node.error();
            }
            plist_dict_set_item(dictionary.get(), key.c_str(), node.value().release());
        }
        return dictionary;
    }
    }
    return writeInvalid("The property list could not be written.");
}

uint64_t readBigEndian(const std::vector<uint8_t>& data, size_t at, size_t size) {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) {
        value = value << 8 | data[at + i];
    }
    return value;
}

// Whether a binary list holds a string with a NUL character. The library aborts the
// process when it hands out such a dictionary key, so these lists are refused before it
// sees them. Anything malformed here is left for the library to reject.
bool binaryHasNulInStrings(const std::vector<uint8_t>& data) {
    constexpr size_t kHeader = 8;
    constexpr size_t kTrailer = 32;
    if (data.size() < kHeader + kTrailer) {
        return false;
    }
    const size_t trailer = data.size() - kTrailer;
    const size_t offsetSize = data[trailer + 6];
    const uint64_t objectCount = readBigEndian(data, trailer + 8, 8);
    const uint64_t tableStart = readBigEndian(data, trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || tableStart > trailer ||
        objectCount > (trailer - tableStart) / offsetSize) {
        return false;
    }
    for (uint64_t object = 0; object < objectCount; ++object) {
        const uint64_t at = readBigEndian(data, tableStart + object * offsetSize, offsetSize);
        if (at >= trailer) {
            continue;
        }
        const uint8_t marker = data[at];
        const int kind = marker >> 4;
        if (kind != 5 && kind != 6 && kind != 7) {
            continue;
        }
        uint64_t count = marker & 0x0F;
        uint64_t start = at + 1;
        if (count == 0x0F) {
            // The length follows as an integer object: 0x1n, then 2^n bytes.
            if (start >= trailer || (data[start] >> 4) != 1 || (data[start] & 0x0F) > 3) {
                continue;
            }
            const size_t lengthSize = size_t{1} << (data[start] & 0x0F);
            if (start + 1 + lengthSize > trailer) {
                continue;
            }
            count = readBigEndian(data, static_cast<size_t>(start + 1), lengthSize);
            start += 1 + lengthSize;
        }
        const uint64_t unit = kind == 6 ? 2 : 1;
        if (count > (trailer - std::min<uint64_t>(start, trailer)) / unit) {
            continue;
        }
        for (uint64_t i = 0; i < count; ++i) {
            const size_t first = static_cast<size_t>(start + i * unit);
            if (data[first] == 0 && (unit == 1 || data[first + 1] == 0)) {
                return true;
            }
        }
    }
    return false;
}

// Where the XML document starts (past a byte-order mark, which the library does not
// accept), or nothing when the bytes do not start as one would.
std::optional<size_t> xmlStart(const std::vector<uint8_t>& data) {
    size_t start = 0;
    if (data.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        start = 3;
    }
    size_t i = start;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) {
        ++i;
    }
    if (i < data.size() && data[i] == '<') {
        return start;
    }
    return std::nullopt;
}

} // namespace

std::optional<PlistValue>
NSPropertyListSerialization::propertyListWithData(const std::vector<uint8_t>& data,
                                                  std::shared_ptr<NSError>* error) {
    static constexpr char kBinaryMagic[] = "bplist00";
    const std::string corrupt = "The data couldn\u2019t be read because it isn\u2019t in the "
                                "correct format (damaged or truncated property list).";
    if (data.empty()) {
        fail(error, NSPropertyListReadCorruptError, "The property list is empty.");
        return std::nullopt;
    }
    if (data.size() >= std::numeric_limits<uint32_t>::max()) {
        fail(error, NSPropertyListReadCorruptError, "The property list is too large to read.");
        return std::nullopt;
    }
    // The parsers get a terminated copy, so that no reading runs off the end.
    std::string bytes(data.begin(), data.end());
    const auto length = static_cast<uint32_t>(data.size());
    plist_t root = nullptr;
    if (data.size() >= 8 && std::memcmp(data.data(), kBinaryMagic, 8) == 0) {
        if (!binaryHasNulInStrings(data)) {
            plist_from_bin(bytes.data(), length, &root);
        }
    } else if (auto start = xmlStart(data)) {
        plist_from_xml(bytes.data() + *start, length - static_cast<uint32_t>(*start), &root);
    }
    PlistNode owner(root);
    if (!root) {
        fail(error, NSPropertyListReadCorruptError, corrupt);
        return std::nullopt;
    }
    auto value = fromNode(root, 0);
    if (!value) {
        fail(error, NSPropertyListReadCorruptError, corrupt);
    }
    return value;
}

std::optional<std::vector<uint8_t>> NSPropertyListSerialization::dataWithPropertyList(
    const PlistValue& value, NSPropertyListFormat format, std::shared_ptr<NSError>* error) {
    auto node = toNode(value, 0);
    if (node.hasError()) {
        if (error) {
            *error = node.error();
        }
        return std::nullopt;
    }
    const PlistNode root = std::move(node).value();
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == NSPropertyListFormat::Binary) {
        plist_to_bin(root.get(), &bytes, &length);
    } else {
        plist_to_xml(root.get(), &bytes, &length);
    }
    if (!bytes) {
        fail(error, NSPropertyListWriteInvalidError, "The property list could not be written.");
        return std::nullopt;
    }
    std::vector<uint8_t> data(bytes, bytes + length);
    if (format == NSPropertyListFormat::Binary) {
        plist_to_bin_free(bytes);
    } else {
        plist_to_xml_free(bytes);
    }
    return data;
}

std::optional<PlistValue>
NSPropertyListSerialization::propertyListWithContentsOfFile(const std::string& path,
                                                            std::shared_ptr<NSError>* error) {
    auto data = NSData::dataWithContentsOfFile(path);
    if (!data) {
        struct stat info {};
        bool exists = ::stat(path.c_str(), &info) == 0;
        fail(error, exists ? NSFileReadUnknownError : NSFileReadNoSuchFileError,
             "The file \u201c" + path + "\u201d couldn\u2019t be " +
                 (exists ? "read." : "opened because there is no such file."));
        return std::nullopt;
    }
    return propertyListWithData(*data, error);
}
