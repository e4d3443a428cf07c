#include "platform/photos/PHCollectionList.h"

#include "platform/photos/PHAssetCollection.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/photos/PhotoLibraryContents.h"

PHFetchResult<PHCollection> PHCollectionList::fetchTopLevelUserCollectionsWithOptions(
    const std::shared_ptr<PHFetchOptions>& options) {
    const auto contents = PHPhotoLibrary::contents();
    if (!contents) {
        return {};
    }
    const auto albums = PHAssetCollection::userAlbumsIn(*contents);
    return PHFetchResult<PHCollection>(
        std::vector<std::shared_ptr<PHCollection>>(albums.begin(), albums.end()));
}
