// Where a collection view's layout puts one item.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/graphics/CGGeometry.h"

#include <memory>

class UICollectionViewLayoutAttributes : public NSObject {
    NS_OBJECT(UICollectionViewLayoutAttributes)
public:
    UICollectionViewLayoutAttributes() = default;
    static std::shared_ptr<UICollectionViewLayoutAttributes>
    layoutAttributesForCellWithIndexPath(const NSIndexPath& indexPath);

    NSIndexPath indexPath() const { return indexPath_; }
    // In the collection view's content coordinates.
    CGRect frame() const { return frame_; }
    void setFrame(const CGRect& frame) { frame_ = frame; }

private:
    NSIndexPath indexPath_;
    CGRect frame_{};
};
