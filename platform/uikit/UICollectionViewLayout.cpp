#include "platform/uikit/UICollectionViewLayout.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/uikit/UICollectionView.h"

NS_REGISTER_CLASS(UICollectionViewLayout, NSObject);

void UICollectionViewLayout::invalidateLayout() {
    if (const auto view = collectionView()) {
        view->layoutInvalidated();
    }
}
