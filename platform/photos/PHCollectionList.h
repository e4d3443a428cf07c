// A folder of collections; here only the top level of the user's albums exists.
#pragma once

#include "platform/photos/PHCollection.h"
#include "platform/photos/PHFetchResult.h"

#include <memory>

class PHFetchOptions;

class PHCollectionList : public PHCollection {
    NS_OBJECT(PHCollectionList)
public:
    // The user albums (PHAssetCollection objects), by title; nothing while the app may not
    // see the library. The options are not used.
    static PHFetchResult<PHCollection>
    fetchTopLevelUserCollectionsWithOptions(const std::shared_ptr<PHFetchOptions>& options);
};
