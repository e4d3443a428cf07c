#include "platform/uikit/UICollectionViewCell.h"

std::shared_ptr<UICollectionViewCell> UICollectionViewCell::initWithFrame(const CGRect& frame) {
    return makeWithFrame<UICollectionViewCell>(frame);
}

void UICollectionViewCell::addContentView() {
    contentView_ =
        UIView::initWithFrame(CGRectMake(0, 0, bounds().size.width, bounds().size.height));
    contentView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                      UIViewAutoresizingFlexibleHeight);
    addSubview(contentView_);
}

void UICollectionViewCell::prepareForReuse() {
    setSelected(false);
    setHighlighted(false);
}
