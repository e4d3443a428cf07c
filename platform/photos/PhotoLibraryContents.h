// One scan of the photo library: the assets of the library folder and of the home's
// Album folder, and the user albums grouping them. Immutable once made, so fetches on any
// thread can share it; PHPhotoLibrary keeps the current one.
#pragma once

#include "platform/photos/PHAsset.h"

#include <memory>
#include <string>
#include <vector>

class PhotoLibraryContents {
public:
    struct Album {
        std::string localIdentifier;
        std::string title;
        std::vector<std::shared_ptr<PHAsset>> assets; // by file name
    };

    // The title and identifier of the album the home's Album folder shows as.
    static constexpr const char* kSavedPhotosAlbumTitle = "MixPhotos";
    static constexpr const char* kSavedPhotosAlbumIdentifier = "~/Album";

    // Each direct subfolder of `libraryFolder` is an album of the files directly in it; the
    // files directly in `libraryFolder` belong to no album. `albumFolder` is one more
    // album when it holds assets. Hidden entries are skipped, and a symbolic link counts
    // only when it points inside the folder it is found in. Missing folders are empty.
    static std::shared_ptr<const PhotoLibraryContents> scan(const std::string& libraryFolder,
                                                            const std::string& albumFolder);
    // Every asset, by identifier.
    const std::vector<std::shared_ptr<PHAsset>>& assets() const { return assets_; }
    // By title.
    const std::vector<Album>& albums() const { return albums_; }
    // Null when there is none (any more).
    const Album* albumWithLocalIdentifier(const std::string& identifier) const;

private:
    std::vector<std::shared_ptr<PHAsset>> assets_;
    std::vector<Album> albums_;
};
