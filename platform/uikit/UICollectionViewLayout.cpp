#include "platform/uikit/UICollectionViewLayout.h"

#include "platform/uikit/UICollectionView.h"

void UICollectionViewLayout::invalidateLayout() {
    if (const auto view = collectionView()) {
        view->layoutInvalidated();
    }
}
