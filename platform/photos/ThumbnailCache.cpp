#include "platform/photos/ThumbnailCache.h"

#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <span>
#include <sys/stat.h>
#include <vector>

namespace {

// A disk entry: this tag, the key's length (4 bytes, little-endian) and the key, so that a
// file name shared by two keys is told apart, then the picture as a JPEG (opaque) or PNG.
constexpr char kTag[4] = {'M', 'P', 'T', '1'};
constexpr double kJPEGQuality = 0.9;

size_t byteCost(const CGImageRef& image) {
    return image->bytesPerRow() * image->height();
}

std::vector<uint8_t> encodeEntry(const CGImageRef& image, const std::string& key) {
    auto picture = image->format() == CGImagePixelFormat::RGB24
                       ? JPEGCodec::encode(image, kJPEGQuality)
                       : PNGCodec::encode(image);
    if (picture.hasError()) {
        return {};
    }
    std::vector<uint8_t> entry(kTag, kTag + 4);
    const auto length = static_cast<uint32_t>(key.size());
    for (int shift = 0; shift < 32; shift += 8) {
        entry.push_back(static_cast<uint8_t>(length >> shift));
    }
    entry.insert(entry.end(), key.begin(), key.end());
    entry.insert(entry.end(), picture.value().begin(), picture.value().end());
    return entry;
}

CGImageRef decodeEntry(std::span<const uint8_t> entry, const std::string& key) {
    const size_t header = 8 + key.size();
    if (entry.size() <= header || std::memcmp(entry.data(), kTag, 4) != 0) {
        return nullptr;
    }
    uint32_t length = 0;
    for (int i = 3; i >= 0; --i) {
        length = length << 8 | entry[4 + static_cast<size_t>(i)];
    }
    if (length != key.size() || std::memcmp(entry.data() + 8, key.data(), key.size()) != 0) {
        return nullptr;
    }
    const uint8_t* picture = entry.data() + header;
    const size_t size = entry.size() - header;
    switch (ImageDecoder::sniff(picture, size)) {
    case ImageFileType::JPEG: {
        auto image = JPEGCodec::decode(picture, size);
        return image.hasError() ? nullptr : std::move(image).value();
    }
    case ImageFileType::PNG: {
        auto image = PNGCodec::decode(picture, size);
        return image.hasError() ? nullptr : std::move(image).value();
    }
    case ImageFileType::Unknown:
        break;
    }
    return nullptr;
}

} // namespace

ThumbnailCache& ThumbnailCache::shared() {
    static ThumbnailCache cache;
    return cache;
}

std::optional<std::string> ThumbnailCache::keyFor(const std::string& path, CGSize targetSize,
                                                  PHImageContentMode contentMode,
                                                  PHImageRequestOptionsResizeMode resizeMode) {
    if (targetSize.width <= 0 || targetSize.height <= 0 ||
        targetSize.width * targetSize.height > kMaxTargetPixels) {
        return std::nullopt;
    }
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    char shape[160];
    std::snprintf(shape, sizeof shape, "\n%lld %lld.%09ld\n%gx%g %d %d",
                  static_cast<long long>(status.st_size),
                  static_cast<long long>(status.st_mtim.tv_sec),
                  static_cast<long>(status.st_mtim.tv_nsec), targetSize.width, targetSize.height,
                  static_cast<int>(contentMode), static_cast<int>(resizeMode));
    return path + shape;
}

std::string ThumbnailCache::diskPath(const std::string& key) {
    const auto caches =
        NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true);
    char name[24];
    std::snprintf(name, sizeof name, "%016zx", std::hash<std::string>()(key));
    return stringByAppendingPathComponent(caches.front(), std::string(kFolderName) + "/" + name);
}

CGImageRef ThumbnailCache::imageForKey(const std::string& key) {
    if (auto image = memoryImage(key)) {
        return image;
    }
    // A file far larger than any thumbnail's is not one this cache wrote: not read at all.
    constexpr uintmax_t kMaxEntryBytes = 32 << 20;
    const std::string path = diskPath(key);
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(path, ec);
    const auto entry =
        !ec && bytes <= kMaxEntryBytes ? NSData::dataWithContentsOfFile(path) : std::nullopt;
    auto image = entry ? decodeEntry(*entry, key) : nullptr;
    if (image) {
        keepInMemory(image, key);
    }
    return image;
}

void ThumbnailCache::storeImageForKey(const CGImageRef& image, const std::string& key) {
    if (!image) {
        return;
    }
    keepInMemory(image, key);
    const auto entry = encodeEntry(image, key);
    const std::string path = diskPath(key);
    const std::string folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!entry.empty() && NSData::writeToFileAtomically(entry, path)) {
        keepWithinDiskBudget(folder, entry.size());
    }
}

void ThumbnailCache::setDiskBudgetBytes(uintmax_t bytes) {
    std::lock_guard lock(diskMutex_);
    diskBudget_ = bytes;
}

void ThumbnailCache::keepWithinDiskBudget(const std::string& folder, uintmax_t added) {
    namespace fs = std::filesystem;
    struct File {
        fs::path path;
        fs::file_time_type written;
        uintmax_t size;
    };
    auto filesIn = [&] {
        std::vector<File> files;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code statError;
            const auto size = it->file_size(statError);
            const auto written = it->last_write_time(statError);
            if (!statError) {
                files.push_back({it->path(), written, size});
            }
        }
        return files;
    };
    std::lock_guard lock(diskMutex_);
    if (folder != diskFolder_) {
        diskFolder_ = folder;
        diskBytes_ = 0;
        for (const auto& file : filesIn()) {
            diskBytes_ += file.size;
        }
    } else {
        diskBytes_ += added; // a rewritten entry counts twice until the next trim
    }
    if (diskBytes_ <= diskBudget_) {
        return;
    }
    // Down to three quarters of the budget, so that trimming is not on every write.
    auto files = filesIn();
    std::sort(files.begin(), files.end(),
              [](const File& a, const File& b) { return a.written < b.written; });
    diskBytes_ = 0;
    for (const auto& file : files) {
        diskBytes_ += file.size;
    }
    for (const auto& file : files) {
        if (diskBytes_ <= diskBudget_ / 4 * 3) {
            break;
        }
        std::error_code ec;
        if (fs::remove(file.path, ec)) {
            diskBytes_ -= file.size;
        }
    }
}

void ThumbnailCache::removeAllFromMemory() {
    std::lock_guard lock(mutex_);
    memory_.clear();
    recency_.clear();
    memoryBytes_ = 0;
}

CGImageRef ThumbnailCache::memoryImage(const std::string& key) {
    std::lock_guard lock(mutex_);
    auto found = memory_.find(key);
    if (found == memory_.end()) {
        return nullptr;
    }
    recency_.splice(recency_.begin(), recency_, found->second.recency);
    return found->second.image;
}

void ThumbnailCache::keepInMemory(const CGImageRef& image, const std::string& key) {
    std::lock_guard lock(mutex_);
    if (auto found = memory_.find(key); found != memory_.end()) {
        memoryBytes_ -= byteCost(found->second.image);
        recency_.erase(found->second.recency);
        memory_.erase(found);
    }
    recency_.push_front(key);
    memory_.emplace(key, Entry{image, recency_.begin()});
    memoryBytes_ += byteCost(image);
    while (memoryBytes_ > kMemoryBudgetBytes && recency_.size() > 1) {
        auto oldest = memory_.find(recency_.back());
        memoryBytes_ -= byteCost(oldest->second.image);
        memory_.erase(oldest);
        recency_.pop_back();
    }
}
