// What a collection view tells its delegate about selection, besides the scroll callbacks.
// Every method is optional: the default bodies are what an absent method means.
#pragma once

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UIScrollViewDelegate.h"

class UICollectionView;

// The scroll view delegate is a virtual base, so that one object may be the delegate of
// collection and table views alike.
class UICollectionViewDelegate : public virtual UIScrollViewDelegate {
public:
    // Asked before a tap selects an item; NO leaves the selection as it is.
    virtual bool collectionViewShouldSelectItemAtIndexPath(UICollectionView& collectionView,
                                                           const NSIndexPath& indexPath) {
        return true;
    }
    // A tap selected the item (also when it was selected already).
    virtual void collectionViewDidSelectItemAtIndexPath(UICollectionView& collectionView,
                                                        const NSIndexPath& indexPath) {}
};
