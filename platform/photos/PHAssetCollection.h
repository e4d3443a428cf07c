// An album: a folder of the library (a user album), the home's Album folder, or one of
// the smart albums the library computes (every asset, the recently added ones).
#pragma once

#include "platform/photos/PHCollection.h"
#include "platform/photos/PHFetchResult.h"
#include "platform/photos/PhotosTypes.h"

#include <memory>
#include <vector>

class PHAsset;
class PHFetchOptions;
class PhotoLibraryContents;

class PHAssetCollection : public PHCollection {
    NS_OBJECT(PHAssetCollection)
public:
    // How far back "Recently Added" reaches, on the clock.
    static constexpr double kRecentlyAddedPeriod = 30 * 24 * 60 * 60;

    // Smart albums (Any: "All Photos", then "Recently Added"; or the one asked for) or
    // user albums (Any or AlbumRegular, by title). Other subtypes and moments are empty,
    // and so is everything while the app may not see the library. The options are not
    // used for collections.
    static PHFetchResult<PHAssetCollection>
    fetchAssetCollectionsWithTypeSubtypeOptions(PHAssetCollectionType type,
                                                PHAssetCollectionSubtype subtype,
                                                const std::shared_ptr<PHFetchOptions>& options);

    PHAssetCollectionType assetCollectionType() const { return type_; }
    PHAssetCollectionSubtype assetCollectionSubtype() const { return subtype_; }

    // The collection's assets in `contents`, in no particular order (platform-internal:
    // fetches order them).
    std::vector<std::shared_ptr<PHAsset>> assetsIn(const PhotoLibraryContents& contents) const;

    // The user albums of `contents`, by title (platform-internal).
    static std::vector<std::shared_ptr<PHAssetCollection>>
    userAlbumsIn(const PhotoLibraryContents& contents);

private:
    PHAssetCollection(std::string localIdentifier, std::string localizedTitle,
                      PHAssetCollectionType type, PHAssetCollectionSubtype subtype);
    static std::shared_ptr<PHAssetCollection> smartAlbum(PHAssetCollectionSubtype subtype);

    PHAssetCollectionType type_;
    PHAssetCollectionSubtype subtype_;
};
