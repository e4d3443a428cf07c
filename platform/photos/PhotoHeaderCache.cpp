#include "platform/photos/PhotoHeaderCache.h"

#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPropertyListSerialization.h"

#include <filesystem>

namespace {

// An entry is an array: the stamp (size, modification time), then for a photo or video
// its kind, image type, stored size, orientation, the EXIF block's place and, when known,
// the date taken. Two numbers alone: a file that is not one.
constexpr size_t kStampFields = 2;
constexpr size_t kHeaderFields = 9;

PlistValue encode(const PhotoHeaderCache::FileStamp& stamp,
                  const std::optional<PhotoFileHeader>& header) {
    PlistValue::Array fields{static_cast<long long>(stamp.size),
                             static_cast<long long>(stamp.modifiedNanoseconds)};
    if (header) {
        for (long long field :
             {static_cast<long long>(header->kind), static_cast<long long>(header->imageType),
              static_cast<long long>(header->width), static_cast<long long>(header->height),
              static_cast<long long>(header->exifOrientation),
              static_cast<long long>(header->exifBlockOffset),
              static_cast<long long>(header->exifBlockLength)}) {
            fields.emplace_back(field);
        }
        if (header->dateTimeOriginal) {
            fields.emplace_back(*header->dateTimeOriginal);
        }
    }
    return fields;
}

constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr size_t kModificationTimeField = 1;

bool inRange(int64_t value, int64_t low, int64_t high) {
    return value >= low && value <= high;
}

// Checked as any input from disk: a value out of range makes the entry unknown, so the
// file is read again.
std::optional<std::pair<PhotoHeaderCache::FileStamp, std::optional<PhotoFileHeader>>>
decode(const PlistValue& value) {
    const auto* fields = value.array();
    if (!fields || (fields->size() != kStampFields && fields->size() != kHeaderFields &&
                    fields->size() != kHeaderFields + 1)) {
        return std::nullopt;
    }
    auto number = [&](size_t i) { return (*fields)[i].integerValue(); };
    // Every number but the time is a size, a kind or a place: none is negative.
    for (size_t i = 0; i < std::min(fields->size(), kHeaderFields); ++i) {
        if ((*fields)[i].type() != PlistValue::Type::Integer ||
            (i != kModificationTimeField && number(i) < 0)) {
            return std::nullopt;
        }
    }
    PhotoHeaderCache::FileStamp stamp{static_cast<uint64_t>(number(0)), number(1)};
    if (fields->size() == kStampFields) {
        return std::pair(stamp, std::optional<PhotoFileHeader>());
    }
    PhotoFileHeader header;
    const auto maxSide = int64_t(PhotoFileHeader::kMaxSide);
    if (!inRange(number(2), 0, 1) || !inRange(number(3), 0, 2) || !inRange(number(6), 1, 8) ||
        !inRange(number(4), 1, maxSide) || !inRange(number(5), 1, maxSide)) {
        return std::nullopt;
    }
    header.kind = static_cast<PhotoFileHeader::Kind>(number(2));
    header.imageType = static_cast<ImageFileType>(number(3));
    header.width = static_cast<size_t>(number(4));
    header.height = static_cast<size_t>(number(5));
    header.exifOrientation = static_cast<int>(number(6));
    header.exifBlockOffset = static_cast<uint64_t>(number(7));
    header.exifBlockLength = static_cast<size_t>(number(8));
    if (fields->size() > kHeaderFields) {
        if ((*fields)[kHeaderFields].type() != PlistValue::Type::String) {
            return std::nullopt;
        }
        header.dateTimeOriginal = (*fields)[kHeaderFields].stringValue();
    }
    return std::pair(stamp, std::optional(header));
}

} // namespace

PhotoHeaderCache::FileStamp PhotoHeaderCache::FileStamp::ofStatus(const struct stat& status) {
    return {static_cast<uint64_t>(status.st_size),
            int64_t(status.st_mtim.tv_sec) * kNanosecondsPerSecond + status.st_mtim.tv_nsec};
}

NSDate PhotoHeaderCache::FileStamp::modificationDate() const {
    // Whole seconds and the rest apart, so that a double keeps the nanoseconds.
    return NSDate::dateWithTimeIntervalSince1970(
        double(modifiedNanoseconds / kNanosecondsPerSecond) +
        double(modifiedNanoseconds % kNanosecondsPerSecond) / 1e9);
}

std::shared_ptr<PhotoHeaderCache> PhotoHeaderCache::loadFromFile(const std::string& path) {
    std::shared_ptr<PhotoHeaderCache> cache(new PhotoHeaderCache(path));
    std::shared_ptr<NSError> error;
    const auto stored = NSPropertyListSerialization::propertyListWithContentsOfFile(path, &error);
    if (!stored) {
        if (error && error->code() != NSFileReadNoSuchFileError) {
            NSLog("PhotoHeaderCache: ignoring %@: %@", path, error->localizedDescription());
        }
        return cache;
    }
    if (const auto* entries = stored->dictionary()) {
        for (const auto& [file, value] : *entries) {
            if (auto entry = decode(value)) {
                cache->entries_[file] = Entry{entry->first, std::move(entry->second), false};
            }
        }
    }
    return cache;
}

std::optional<PhotoFileHeader> PhotoHeaderCache::headerForFile(const std::string& path,
                                                               FileStamp stamp) {
    {
        std::lock_guard lock(mutex_);
        auto found = entries_.find(path);
        if (found != entries_.end() && found->second.stamp == stamp) {
            found->second.used = true;
            return found->second.header;
        }
    }
    // Read outside the lock: other threads go on with other files meanwhile.
    auto header = PhotoFileHeader::readFile(path);
    std::lock_guard lock(mutex_);
    entries_[path] = Entry{stamp, header, true};
    ++filesRead_;
    return header;
}

bool PhotoHeaderCache::save() {
    PlistValue::Dictionary entries;
    {
        std::lock_guard lock(mutex_);
        bool changed = filesRead_ > 0;
        for (const auto& [file, entry] : entries_) {
            if (entry.used) {
                entries.emplace(file, encode(entry.stamp, entry.header));
            } else {
                changed = true;
            }
        }
        if (!changed) {
            return true;
        }
    }
    const auto data = NSPropertyListSerialization::dataWithPropertyList(
        std::move(entries), NSPropertyListFormat::Binary, nullptr);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
    if (!data || !NSData::writeToFileAtomically(*data, path_)) {
        NSLog("PhotoHeaderCache: cannot write %@", path_);
        return false;
    }
    return true;
}

size_t PhotoHeaderCache::filesRead() const {
    std::lock_guard lock(mutex_);
    return filesRead_;
}
