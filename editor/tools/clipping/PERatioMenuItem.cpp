#include "editor/tools/clipping/PERatioMenuItem.h"

#include "editor/tools/clipping/PERatio.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIViewAnimation.h"

namespace {
// The longer side of an item's icon.
constexpr double kIconSide = 50;
} // namespace

std::shared_ptr<PERatioMenuItem> PERatioMenuItem::initWithFrameTargetActionToolInfo(
    const CGRect& frame, std::weak_ptr<NSObject> target, UIGestureRecognizer::Action action,
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    return itemWithFrameTargetActionToolInfo<PERatioMenuItem>(frame, std::move(target),
                                                              std::move(action), toolInfo);
}

std::shared_ptr<PERatioMenuItem> PERatioMenuItem::alloc() {
    auto item = make<PERatioMenuItem>();
    item->setUpWithFrame(CGRectZero);
    return item;
}

void PERatioMenuItem::setRatio(std::shared_ptr<PERatio> ratio) {
    if (ratio == ratio_) {
        return;
    }
    ratio_ = std::move(ratio);
    refreshViews();
}

void PERatioMenuItem::refreshViews() {
    if (!ratio_) {
        return;
    }
    setTitle(ratio_->description());
    auto icon = iconView();
    const CGPoint centre = icon->center();
    CGSize size = CGSizeMake(kIconSide, kIconSide);
    const double r = ratio_->ratio();
    if (r == 0) {
        const CGSize picture = icon->image() ? icon->image()->size() : CGSizeMake(1, 1);
        if (picture.width > 0 && picture.height > 0) {
            size = picture.width >= picture.height
                       ? CGSizeMake(kIconSide, kIconSide * picture.height / picture.width)
                       : CGSizeMake(kIconSide * picture.width / picture.height, kIconSide);
        }
    } else if (ratio_->isLandscape()) {
        size = CGSizeMake(kIconSide, kIconSide * r);
    } else {
        size = CGSizeMake(kIconSide / r, kIconSide);
    }
    icon->setFrame(
        CGRectMake(centre.x - size.width / 2, centre.y - size.height / 2, size.width, size.height));
}

void PERatioMenuItem::changeOrientation() {
    if (!ratio_) {
        return;
    }
    ratio_->setIsLandscape(!ratio_->isLandscape());
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        0.2, 0, 0, [item = self<PERatioMenuItem>()] { item->refreshViews(); }, nullptr);
}
