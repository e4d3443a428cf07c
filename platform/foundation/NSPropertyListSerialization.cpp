#include "platform/foundation/NSPropertyListSerialization.h"

#include "platform/foundation/BinaryPlistWriter.h"
#include "platform/foundation/ErrorOr.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/PlistStructureCheck.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sys/stat.h>

namespace {

// Values deeper than a list that is read may be are not written: the recursion below,
// and the library's when it writes and frees, stays bounded.
constexpr size_t kMaxDepth = PlistStructureCheck::kMaxDepth;

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

// Lists read were checked for their nesting before they were parsed.
std::optional<PlistValue> fromNode(plist_t node) {
    if (!node) {
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
            auto value = fromNode(item);
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
            auto value = fromNode(item);
            if (!value) {
                std::free(iterator);
                return std::nullopt;
            }
            // Keys usually come sorted: the hint makes each insertion constant time.
            members.insert_or_assign(members.end(), std::move(name), std::move(*value));
        }
        std::free(iterator);
        return PlistValue(std::move(members));
    }
    default:
        return std::nullopt;
    }
}

// Why `value` cannot be written, if it cannot.
// Whether `value` can be written, and how many objects the binary form makes of it: itself,
// its members and a dictionary's keys (counted on the same walk, so saving goes over the
// tree once before writing it).
ErrorOr<size_t> checkWritable(const PlistValue& value, size_t depth) {
    if (depth > kMaxDepth) {
        return writeInvalid("The property list nests too deeply to be written.");
    }
    switch (value.type()) {
    case PlistValue::Type::Null:
        return writeInvalid("A property list cannot hold a null value.");
    case PlistValue::Type::Date: {
        // The library reads 32-bit seconds: about 1933 to 2069.
        double seconds = std::floor(value.date()->timeIntervalSinceReferenceDate);
        if (!(seconds >= std::numeric_limits<int32_t>::min() &&
              seconds <= std::numeric_limits<int32_t>::max())) {
            return writeInvalid("The date " + value.date()->description() +
                                " is out of the range a property list can hold.");
        }
        return size_t(1);
    }
    case PlistValue::Type::Array: {
        size_t count = 1;
        for (const auto& item : *value.array()) {
            auto checked = checkWritable(item, depth + 1);
            if (checked.hasError()) {
                return checked.error();
            }
            count += checked.value();
        }
        return count;
    }
    case PlistValue::Type::Dictionary: {
        size_t count = 1;
        for (const auto& [key, member] : *value.dictionary()) {
            auto checked = checkWritable(member, depth + 1);
            if (checked.hasError()) {
                return checked.error();
            }
            count += 1 + checked.value();
        }
        return count;
    }
    default:
        return size_t(1);
    }
}

// The library's node for a writable `value`.
PlistNode toNode(const PlistValue& value) {
    switch (value.type()) {
    case PlistValue::Type::Null:
        break; // not writable
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
        double time = value.date()->timeIntervalSinceReferenceDate;
        double seconds = std::floor(time);
        int32_t microseconds = static_cast<int32_t>(std::lround((time - seconds) * 1e6));
        if (microseconds >= 1000000) {
            microseconds = 999999;
        }
        return PlistNode(plist_new_date(static_cast<int32_t>(seconds), microseconds));
    }
    case PlistValue::Type::Array: {
        PlistNode array(plist_new_array());
        for (const auto& item : *value.array()) {
            plist_array_append_item(array.get(), toNode(item).release());
        }
        return array;
    }
    case PlistValue::Type::Dictionary: {
        PlistNode dictionary(plist_new_dict());
        for (const auto& [key, member] : *value.dictionary()) {
            plist_dict_set_item(dictionary.get(), key.c_str(), toNode(member).release());
        }
        return dictionary;
    }
    }
    return nullptr;
}

// Where the XML document starts (past a byte-order mark, which the library does not
// accept), or nothing when the bytes do not start as one would.
std::optional<size_t> xmlStart(std::span<const uint8_t> data) {
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
NSPropertyListSerialization::propertyListWithData(std::span<const uint8_t> data,
                                                  std::shared_ptr<NSError>* error) {
    static constexpr char kBinaryMagic[] = "bplist00";
    const std::string corrupt =
        NSError::wrongFormatDescription("damaged or truncated property list");
    if (data.empty()) {
        fail(error, NSPropertyListReadCorruptError, "The property list is empty.");
        return std::nullopt;
    }
    const bool binary = data.size() >= 8 && std::memcmp(data.data(), kBinaryMagic, 8) == 0;
    const auto start = binary ? std::optional<size_t>(0) : xmlStart(data);
    if (!start) {
        fail(error, NSPropertyListReadCorruptError, corrupt);
        return std::nullopt;
    }
    auto checked = binary ? PlistStructureCheck::checkBinary(data)
                          : PlistStructureCheck::checkXML(data, *start);
    if (checked.hasError()) {
        if (error) {
            *error = checked.error();
        }
        return std::nullopt;
    }
    // The parsers get a terminated copy, so that no reading runs off the end; the checks
    // bound its length.
    std::string bytes(data.begin(), data.end());
    const auto length = static_cast<uint32_t>(data.size());
    plist_t root = nullptr;
    if (binary) {
        plist_from_bin(bytes.data(), length, &root);
    } else {
        plist_from_xml(bytes.data() + *start, length - static_cast<uint32_t>(*start), &root);
    }
    PlistNode owner(root);
    if (!root) {
        fail(error, NSPropertyListReadCorruptError, corrupt);
        return std::nullopt;
    }
    auto value = fromNode(root);
    if (!value) {
        fail(error, NSPropertyListReadCorruptError, corrupt);
    }
    return value;
}

std::optional<std::vector<uint8_t>> NSPropertyListSerialization::dataWithPropertyList(
    const PlistValue& value, NSPropertyListFormat format, std::shared_ptr<NSError>* error) {
    auto writable = checkWritable(value, 0);
    if (writable.hasError()) {
        if (error) {
            *error = writable.error();
        }
        return std::nullopt;
    }
    if (format == NSPropertyListFormat::Binary) {
        return BinaryPlistWriter::write(value, writable.value());
    }
    // XML is written for small lists only (layouts, colours, the photo library's state):
    // the library's dictionaries index keys in a table of fixed size.
    const PlistNode root = toNode(value);
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &bytes, &length);
    if (!bytes) {
        fail(error, NSPropertyListWriteInvalidError, "The property list could not be written.");
        return std::nullopt;
    }
    std::vector<uint8_t> data(bytes, bytes + length);
    plist_to_xml_free(bytes);
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
