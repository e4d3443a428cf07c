// One scan of the photo library: the files of the library folder and of the home's Album
// folder, and the user albums grouping them. Listing the folders is quick; a file's header
// (is it a photo, how large, when taken) is read only when its album is first fetched,
// through the header cache, so that the album on screen does not wait for the others.
// Immutable to its users, so fetches on any thread can share it; PHPhotoLibrary keeps the
// current one.
#pragma once

#include "platform/photos/PHAsset.h"
#include "platform/photos/PhotoHeaderCache.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class PhotoLibraryContents {
public:
    struct Album {
        std::string localIdentifier;
        std::string title;
    };
    using Assets = std::vector<std::shared_ptr<PHAsset>>;

    // The title and identifier of the album the home's Album folder shows as.
    static constexpr const char* kSavedPhotosAlbumTitle = "MixPhotos";
    static constexpr const char* kSavedPhotosAlbumIdentifier = "~/Album";

    // Each direct subfolder of `libraryFolder` is an album of the files directly in it; the
    // files directly in `libraryFolder` belong to no album. `albumFolder` is one more
    // album when it holds assets. Hidden entries are skipped, and a symbolic link counts
    // only when it points inside the folder it is found in. Missing folders are empty.
    // Headers are read through `headerCache`.
    static std::shared_ptr<const PhotoLibraryContents>
    scan(const std::string& libraryFolder, const std::string& albumFolder,
         std::shared_ptr<PhotoHeaderCache> headerCache);

    // By title.
    const std::vector<Album>& albums() const { return albums_; }
    // Every asset, by identifier; reads every header not read yet.
    const Assets& assets() const;
    // The album's assets by file name, its headers read now if not yet; null when there is
    // no such album (any more).
    const Assets* assetsOfAlbum(const std::string& localIdentifier) const;
    // Reads the headers of every album in menu order, then saves the header cache: the
    // rest of a scan, done in the background once the album on screen has its photos.
    void readAllHeadersAndSaveCache() const;
    // The cache the headers are read through.
    PhotoHeaderCache& headerCache() const { return *headerCache_; }

private:
    struct File {
        std::string path;
        std::string localIdentifier;
        PhotoHeaderCache::FileStamp stamp;
    };
    // The files of one folder, turned into assets on first use (by whichever thread asks
    // first; the others wait for it).
    struct Folder {
        std::string albumIdentifier; // empty for the library folder's own files
        std::vector<File> files;
        mutable std::once_flag read;
        mutable Assets assets;
    };
    const Assets& assetsOf(const Folder& folder) const;

    std::shared_ptr<PhotoHeaderCache> headerCache_;
    std::vector<Album> albums_;
    std::vector<std::unique_ptr<Folder>> folders_; // in the order albums_ lists them, then the rest
    mutable std::once_flag allRead_;
    mutable Assets assets_;
};
