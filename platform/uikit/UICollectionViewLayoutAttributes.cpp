#include "platform/uikit/UICollectionViewLayoutAttributes.h"

std::shared_ptr<UICollectionViewLayoutAttributes>
UICollectionViewLayoutAttributes::layoutAttributesForCellWithIndexPath(
    const NSIndexPath& indexPath) {
    auto attributes = std::make_shared<UICollectionViewLayoutAttributes>();
    attributes->indexPath_ = indexPath;
    return attributes;
}
