// The image manager's cache of small results (thumbnails): the most recently used in
// memory, up to a byte budget, and on disk in the home's caches folder up to another (the
// oldest files go first), so that a grid shown again, or after a relaunch, decodes no photo. An
// entry is for one version of a file (its path, size and modification time) and one request shape
// (target size, content mode, resize mode); a rewritten file misses. A mutex guards the memory
// part.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

class ThumbnailCache {
public:
    // Under Library/Caches in the home.
    static constexpr const char* kFolderName = "Thumbnails";
    // Targets up to this many pixels are thumbnails; larger results are not kept.
    static constexpr double kMaxTargetPixels = 512 * 512;
    static constexpr size_t kMemoryBudgetBytes = 48u << 20;
    static constexpr uintmax_t kDiskBudgetBytes = 256u << 20;

    static ThumbnailCache& shared();

    // The key of a request for the file at `path` as it is now; nothing when the request
    // is not for a thumbnail or the file cannot be looked at.
    static std::optional<std::string> keyFor(const std::string& path, CGSize targetSize,
                                             PHImageContentMode contentMode,
                                             PHImageRequestOptionsResizeMode resizeMode);

    // From memory, else from disk (then kept in memory too); null on a miss. A damaged
    // disk entry is a miss.
    CGImageRef imageForKey(const std::string& key);
    // Kept in memory and written to disk (a failed write only loses the disk copy).
    void storeImageForKey(const CGImageRef& image, const std::string& key);
    // Forgets what is in memory (between tests); the disk copies stay with their home.
    void removeAllFromMemory();
    // What the disk copies may take; kDiskBudgetBytes unless changed (by tests).
    void setDiskBudgetBytes(uintmax_t bytes);

private:
    ThumbnailCache() = default;
    CGImageRef memoryImage(const std::string& key);
    void keepInMemory(const CGImageRef& image, const std::string& key);
    static std::string diskPath(const std::string& key);
    void keepWithinDiskBudget(const std::string& folder, uintmax_t added);

    struct Entry {
        CGImageRef image;
        std::list<std::string>::iterator recency;
    };
    std::mutex mutex_;
    std::unordered_map<std::string, Entry> memory_;
    std::list<std::string> recency_; // most recently used first
    size_t memoryBytes_ = 0;
    // What the folder of disk copies holds, counted once per folder (per home) and then
    // kept up as entries are written; the writers are the pool's threads.
    std::mutex diskMutex_;
    std::string diskFolder_;
    uintmax_t diskBytes_ = 0;
    uintmax_t diskBudget_ = kDiskBudgetBytes;
};
