// What a collection view asks for its items. The two item methods are required; the
// default body of the optional one is what its absence means.
#pragma once

#include "platform/foundation/NSIndexPath.h"

#include <memory>

class UICollectionView;
class UICollectionViewCell;

class UICollectionViewDataSource {
public:
    virtual ~UICollectionViewDataSource() = default;
    virtual long numberOfSectionsInCollectionView(UICollectionView& collectionView) { return 1; }
    virtual long collectionViewNumberOfItemsInSection(UICollectionView& collectionView,
                                                      long section) = 0;
    // A cell from dequeueReusableCellWithReuseIdentifierForIndexPath, set up for the item.
    virtual std::shared_ptr<UICollectionViewCell>
    collectionViewCellForItemAtIndexPath(UICollectionView& collectionView,
                                         const NSIndexPath& indexPath) = 0;
};
