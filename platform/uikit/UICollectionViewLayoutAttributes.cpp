#include "platform/uikit/UICollectionViewLayoutAttributes.h"

#include "platform/runtime/ClassRegistry.h"

NS_REGISTER_CLASS(UICollectionViewLayoutAttributes, NSObject);

std::shared_ptr<UICollectionViewLayoutAttributes>
UICollectionViewLayoutAttributes::layoutAttributesForCellWithIndexPath(
    const NSIndexPath& indexPath) {
    auto attributes = std::make_shared<UICollectionViewLayoutAttributes>();
    attributes->indexPath_ = indexPath;
    return attributes;
}
