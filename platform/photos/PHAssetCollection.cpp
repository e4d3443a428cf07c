#include "platform/photos/PHAssetCollection.h"

#include "platform/foundation/NSDate.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/photos/PhotoLibraryContents.h"

#include <algorithm>

PHAssetCollection::PHAssetCollection(std::string localIdentifier, std::string localizedTitle,
                                     PHAssetCollectionType type, PHAssetCollectionSubtype subtype)
    : PHCollection(std::move(localIdentifier), std::move(localizedTitle)), type_(type),
      subtype_(subtype) {}

std::shared_ptr<PHAssetCollection> PHAssetCollection::smartAlbum(PHAssetCollectionSubtype subtype) {
    const char* title = nullptr;
    switch (subtype) {
    case PHAssetCollectionSubtype::SmartAlbumUserLibrary:
        title = "All Photos";
        break;
    case PHAssetCollectionSubtype::SmartAlbumRecentlyAdded:
        title = "Recently Added";
        break;
    default:
        return nullptr;
    }
    const std::string identifier =
        "SmartAlbum/" + std::to_string(static_cast<int>(subtype)); // no folder name has a '/'
    return make<PHAssetCollection>(identifier, title, PHAssetCollectionType::SmartAlbum, subtype);
}

std::vector<std::shared_ptr<PHAssetCollection>>
PHAssetCollection::userAlbumsIn(const PhotoLibraryContents& contents) {
    std::vector<std::shared_ptr<PHAssetCollection>> albums;
    for (const auto& album : contents.albums()) {
        albums.push_back(make<PHAssetCollection>(album.localIdentifier, album.title,
                                                 PHAssetCollectionType::Album,
                                                 PHAssetCollectionSubtype::AlbumRegular));
    }
    return albums;
}

PHFetchResult<PHAssetCollection> PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
    PHAssetCollectionType type, PHAssetCollectionSubtype subtype,
    const std::shared_ptr<PHFetchOptions>& options) {
    const auto contents = PHPhotoLibrary::contents();
    if (!contents) {
        return {};
    }
    const bool any = subtype == PHAssetCollectionSubtype::Any;
    std::vector<std::shared_ptr<PHAssetCollection>> found;
    switch (type) {
    case PHAssetCollectionType::SmartAlbum:
        for (auto smart : {PHAssetCollectionSubtype::SmartAlbumUserLibrary,
                           PHAssetCollectionSubtype::SmartAlbumRecentlyAdded}) {
            if (any || subtype == smart) {
                found.push_back(smartAlbum(smart));
            }
        }
        break;
    case PHAssetCollectionType::Album:
        if (any || subtype == PHAssetCollectionSubtype::AlbumRegular) {
            found = userAlbumsIn(*contents);
        }
        break;
    case PHAssetCollectionType::Moment:
        break;
    }
    return PHFetchResult<PHAssetCollection>(std::move(found));
}

std::vector<std::shared_ptr<PHAsset>>
PHAssetCollection::assetsIn(const PhotoLibraryContents& contents) const {
    switch (subtype_) {
    case PHAssetCollectionSubtype::SmartAlbumUserLibrary:
        return contents.assets();
    case PHAssetCollectionSubtype::SmartAlbumRecentlyAdded: {
        // Added means written into the library: the file's modification time.
        const NSDate since = NSDate::dateWithTimeIntervalSinceNow(-kRecentlyAddedPeriod);
        std::vector<std::shared_ptr<PHAsset>> recent;
        std::copy_if(contents.assets().begin(), contents.assets().end(), std::back_inserter(recent),
                     [&](const auto& asset) { return asset->modificationDate() >= since; });
        return recent;
    }
    default:
        if (const auto* assets = contents.assetsOfAlbum(localIdentifier())) {
            return *assets;
        }
        return {};
    }
}
