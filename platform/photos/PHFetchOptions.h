// How a fetch of assets orders and filters what it finds.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSSortDescriptor.h"
#include "platform/photos/PhotosTypes.h"

#include <optional>
#include <vector>

class PHFetchOptions : public NSObject {
    NS_OBJECT(PHFetchOptions)
public:
    // Keys "creationDate" and "modificationDate", applied in order; other keys are
    // ignored. Without any, assets come oldest first by creation date. Equal assets are
    // ordered by file name, so a fetch always gives the same order.
    const std::vector<NSSortDescriptor>& sortDescriptors() const { return sortDescriptors_; }
    void setSortDescriptors(std::vector<NSSortDescriptor> descriptors) {
        sortDescriptors_ = std::move(descriptors);
    }
    // Only assets of this type, when set (the platform's "mediaType == %d" predicate).
    std::optional<PHAssetMediaType> predicateMediaType() const { return predicateMediaType_; }
    void setPredicateMediaType(std::optional<PHAssetMediaType> type) { predicateMediaType_ = type; }

private:
    std::vector<NSSortDescriptor> sortDescriptors_;
    std::optional<PHAssetMediaType> predicateMediaType_;
};
