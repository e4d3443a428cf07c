// What the library scan learnt of each file's header, kept in the home's caches folder so
// that opening the library again reads only the files that changed. An entry holds while
// the file keeps its path, size and modification time; a file rewritten in place is read
// again. Shared by the threads that read an album's headers; a mutex guards the entries.
#pragma once

#include "platform/foundation/NSDate.h"
#include "platform/photos/PhotoFileHeader.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unordered_map>

class PhotoHeaderCache {
public:
    // In the home's Library/Caches folder.
    static constexpr const char* kFileName = "PhotoHeaders.plist";

    // What tells one version of a file from another.
    struct FileStamp {
        uint64_t size = 0;
        // Since 1970; before it for files dated earlier.
        int64_t modifiedNanoseconds = 0;

        static FileStamp ofStatus(const struct stat& status);
        NSDate modificationDate() const;
        bool operator==(const FileStamp&) const = default;
    };

    // The cache kept at `path`; a missing file is an empty cache, a damaged one too (and
    // logged). Nothing is written until save().
    static std::shared_ptr<PhotoHeaderCache> loadFromFile(const std::string& path);

    // The file's header (nothing when it is not a photo or video we read), from the cache
    // when its stamp matches, else read from the file and remembered.
    std::optional<PhotoFileHeader> headerForFile(const std::string& path, FileStamp stamp);
    // Writes the entries asked for since loading (so that removed files drop out), when
    // they differ from what was loaded. False when the file could not be written.
    bool save();

    // How many headers were read from files rather than the cache, since loading.
    size_t filesRead() const;

private:
    struct Entry {
        FileStamp stamp;
        std::optional<PhotoFileHeader> header;
        bool used = false;
    };
    explicit PhotoHeaderCache(std::string path) : path_(std::move(path)) {}

    const std::string path_;
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
    size_t filesRead_ = 0;
};
