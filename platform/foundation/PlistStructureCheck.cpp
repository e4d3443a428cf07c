#include "platform/foundation/PlistStructureCheck.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <string>

namespace {

std::shared_ptr<NSError> refused(const std::string& why) {
    return makeError(NSCocoaErrorDomain, NSPropertyListReadCorruptError,
                     NSError::wrongFormatDescription(why));
}

std::shared_ptr<NSError> tooDeep() {
    return refused("the property list nests deeper than " +
                   std::to_string(PlistStructureCheck::kMaxDepth) + " levels");
}

std::shared_ptr<NSError> tooMany() {
    return refused("the property list holds more than " +
                   std::to_string(PlistStructureCheck::kMaxValues) + " values");
}

ErrorOr<void> checkLength(std::span<const uint8_t> data) {
    if (data.size() > PlistStructureCheck::kMaxLength) {
        return refused("the property list is larger than " +
                       std::to_string(PlistStructureCheck::kMaxLength >> 20) + " MB");
    }
    return {};
}

bool startsWith(std::span<const uint8_t> data, size_t at, const char* text) {
    const size_t length = std::strlen(text);
    return at + length <= data.size() && std::memcmp(data.data() + at, text, length) == 0;
}

} // namespace

uint64_t PlistStructureCheck::read(uint64_t at, size_t size) const {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) {
        value = value << 8 | data_[at + i];
    }
    return value;
}

std::optional<PlistStructureCheck::Object> PlistStructureCheck::objectAt(uint64_t index) const {
    const uint64_t at = read(tableStart_ + index * offsetSize_, offsetSize_);
    if (at < 8 || at >= tableStart_) {
        return std::nullopt;
    }
    Object object;
    const uint8_t marker = data_[at];
    object.kind = marker >> 4;
    const bool sized = object.kind == 4 || object.kind == 5 || object.kind == 6 ||
                       object.kind == 7 || object.kind == 0xA || object.kind == 0xC ||
                       object.kind == 0xD;
    if (!sized) {
        return object;
    }
    object.count = marker & 0x0F;
    object.start = at + 1;
    if (object.count == 0x0F) {
        // The count follows as an integer object: 0x1n, then 2^n bytes.
        if (object.start >= tableStart_ || (data_[object.start] >> 4) != 1 ||
            (data_[object.start] & 0x0F) > 3) {
            return std::nullopt;
        }
        const size_t size = size_t{1} << (data_[object.start] & 0x0F);
        if (object.start + 1 + size > tableStart_) {
            return std::nullopt;
        }
        object.count = read(object.start + 1, size);
        object.start += 1 + size;
    }
    uint64_t unit = 1;
    if (object.kind == 6) {
        unit = 2;
    } else if (object.kind == 0xA || object.kind == 0xC) {
        unit = refSize_;
    } else if (object.kind == 0xD) {
        unit = 2 * refSize_;
    }
    if (object.count > (tableStart_ - object.start) / unit) {
        return std::nullopt;
    }
    return object;
}

bool PlistStructureCheck::hasNul(const Object& string) const {
    const uint64_t unit = string.kind == 6 ? 2 : 1;
    for (uint64_t i = 0; i < string.count; ++i) {
        const uint64_t first = string.start + i * unit;
        if (data_[first] == 0 && (unit == 1 || data_[first + 1] == 0)) {
            return true;
        }
    }
    return false;
}

ErrorOr<bool> PlistStructureCheck::enter(uint64_t index) {
    if (index >= objectCount_) {
        return refused("an object refers to one that does not exist");
    }
    if (state_[index] == Open) {
        return refused("a collection holds itself");
    }
    if (state_[index] == Done) {
        return true;
    }
    auto object = objectAt(index);
    if (!object) {
        return refused("an object lies outside the list");
    }
    const bool collection = object->kind == 0xA || object->kind == 0xC || object->kind == 0xD;
    if (!collection) {
        if ((object->kind == 5 || object->kind == 6 || object->kind == 7) && hasNul(*object)) {
            return refused("a string holds a NUL character");
        }
        finish(index, 1, 0);
        return true;
    }
    if (stack_.size() >= PlistStructureCheck::kMaxDepth) {
        return tooDeep();
    }
    state_[index] = Open;
    const uint64_t refCount = object->kind == 0xD ? 2 * object->count : object->count;
    stack_.push_back(Frame{index, object->start, refCount});
    return false;
}

void PlistStructureCheck::finish(uint64_t index, uint64_t values, size_t height) {
    state_[index] = Done;
    values_[index] = values;
    heights_[index] = static_cast<uint16_t>(height);
}

ErrorOr<void> PlistStructureCheck::checkBinaryStructure() {
    constexpr size_t kHeader = 8;
    constexpr size_t kTrailer = 32;
    if (data_.size() < kHeader + kTrailer) {
        return refused("the binary property list is truncated");
    }
    const size_t trailer = data_.size() - kTrailer;
    offsetSize_ = data_[trailer + 6];
    refSize_ = data_[trailer + 7];
    objectCount_ = read(trailer + 8, 8);
    const uint64_t top = read(trailer + 16, 8);
    tableStart_ = read(trailer + 24, 8);
    if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8 ||
        tableStart_ < kHeader || tableStart_ > trailer || objectCount_ == 0 ||
        objectCount_ > (trailer - tableStart_) / offsetSize_) {
        return refused("the binary property list's trailer is damaged");
    }
    // Writers store only objects the list reaches, each once, so there are no more of them
    // than values once read; this also bounds what the walk below keeps per object.
    if (objectCount_ > PlistStructureCheck::kMaxValues) {
        return tooMany();
    }
    state_.assign(objectCount_, Unseen);
    values_.assign(objectCount_, 0);
    heights_.assign(objectCount_, 0);
    // Depth first from the top object, on a stack of our own that never holds more than
    // kMaxDepth collections; what was seen once is not walked again, so a list that
    // refers to the same objects many times is checked in time linear in its size.
    auto entered = enter(top);
    if (entered.hasError()) {
        return entered.error();
    }
    while (!stack_.empty()) {
        Frame& frame = stack_.back();
        if (frame.next == frame.refCount) {
            const Frame done = frame;
            stack_.pop_back();
            finish(done.object, done.values, done.height + 1);
            if (!stack_.empty()) {
                Frame& parent = stack_.back();
                parent.values =
                    std::min(parent.values + done.values, PlistStructureCheck::kMaxValues + 1);
                parent.height = std::max(parent.height, done.height + 1);
            }
            continue;
        }
        const uint64_t child = read(frame.refs + frame.next * refSize_, refSize_);
        ++frame.next;
        auto visited = enter(child);
        if (visited.hasError()) {
            return visited.error();
        }
        if (visited.value()) {
            // No frame was pushed, so `frame` still stands.
            if (stack_.size() + heights_[child] > PlistStructureCheck::kMaxDepth) {
                return tooDeep();
            }
            frame.values =
                std::min(frame.values + values_[child], PlistStructureCheck::kMaxValues + 1);
            frame.height = std::max<size_t>(frame.height, heights_[child]);
        }
    }
    if (values_[top] > PlistStructureCheck::kMaxValues) {
        return tooMany();
    }
    return {};
}

ErrorOr<void> PlistStructureCheck::checkBinary(std::span<const uint8_t> data) {
    auto length = checkLength(data);
    if (length.hasError()) {
        return length;
    }
    return PlistStructureCheck(data).checkBinaryStructure();
}

ErrorOr<void> PlistStructureCheck::checkXML(std::span<const uint8_t> data, size_t start) {
    auto length = checkLength(data);
    if (length.hasError()) {
        return length;
    }
    // Each piece of markup runs from its '<' to its end marker. Text holds no '<' (it
    // would start markup), so counting open and close tags follows the document's
    // nesting; a piece of markup with a '<' before its end could be read differently by
    // the library, so it is refused rather than guessed at.
    struct Markup {
        const char* opening;
        const char* ending;
    };
    static const Markup kSkipped[] = {
        {"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}, {"<!", ">"}};
    // The plist element and a value's own element come on top of the collections' levels.
    const size_t maxElements = kMaxDepth + 2;
    size_t depth = 0;
    size_t at = start;
    while (at < data.size()) {
        if (data[at] != '<') {
            ++at;
            continue;
        }
        const char* ending = ">";
        size_t from = at + 1;
        bool skipped = false;
        for (const auto& markup : kSkipped) {
            if (startsWith(data, at, markup.opening)) {
                ending = markup.ending;
                from = at + std::strlen(markup.opening);
                skipped = true;
                break;
            }
        }
        size_t end = from;
        while (end < data.size() && data[end] != '<' && !startsWith(data, end, ending)) {
            ++end;
        }
        if (end == data.size()) {
            break; // unterminated: nothing after it can open an element
        }
        if (data[end] == '<') {
            return refused("the property list holds markup it cannot be read safely with");
        }
        if (!skipped) {
            if (data[at + 1] == '/') {
                depth -= depth > 0 ? 1 : 0;
            } else if (data[end - 1] != '/' && ++depth > maxElements) {
                return tooDeep();
            }
        }
        at = end + std::strlen(ending);
    }
    return {};
}
