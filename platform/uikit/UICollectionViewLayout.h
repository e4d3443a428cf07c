// Decides where a collection view's items go. A subclass works the positions out in
// prepareLayout, which the collection view calls before it next places cells after a
// reload, a change of its size or insets, or invalidateLayout; then it answers the
// queries. This base places nothing.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/graphics/CGGeometry.h"

#include <memory>
#include <vector>

class UICollectionView;
class UICollectionViewLayoutAttributes;

class UICollectionViewLayout : public NSObject {
    NS_OBJECT(UICollectionViewLayout)
public:
    UICollectionViewLayout() = default;

    // The collection view it lays out, once it has been given to one.
    std::shared_ptr<UICollectionView> collectionView() const { return collectionView_.lock(); }

    virtual void prepareLayout() {}
    virtual CGSize collectionViewContentSize() const { return CGSizeZero; }
    // The items whose frames overlap the rectangle (content coordinates).
    virtual std::vector<std::shared_ptr<UICollectionViewLayoutAttributes>>
    layoutAttributesForElementsInRect(const CGRect& rect) const {
        return {};
    }
    // Null for an item the collection view does not have.
    virtual std::shared_ptr<UICollectionViewLayoutAttributes>
    layoutAttributesForItemAtIndexPath(const NSIndexPath& indexPath) const {
        return nullptr;
    }

    // Has the collection view ask for the layout again before it next places its cells.
    void invalidateLayout();

private:
    friend class UICollectionView;
    std::weak_ptr<UICollectionView> collectionView_;
};
