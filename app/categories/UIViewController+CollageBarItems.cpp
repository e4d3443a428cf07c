#include "app/categories/UIViewController+CollageBarItems.h"

#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIViewController.h"

namespace CollageBarItems {
void addBackAndShareItems(UIViewController& screen, UIBarButtonItem::Action back,
                          UIBarButtonItem::Action share) {
    const std::weak_ptr<NSObject> target = screen.weakSelf<NSObject>();
    auto backItem = UIBarButtonItem::initWithImageStyleTargetAction(
        UIImage::imageNamed("back.png"), UIBarButtonItemStyle::Plain, target, std::move(back));
    backItem->setAccessibilityLabel("Back");
    screen.navigationItem()->setLeftBarButtonItem(backItem);
    auto shareItem = UIBarButtonItem::initWithImageStyleTargetAction(
        UIImage::imageNamed("share.png"), UIBarButtonItemStyle::Plain, target, std::move(share));
    shareItem->setAccessibilityLabel("Share");
    shareItem->setEnabled(false);
    screen.navigationItem()->setRightBarButtonItem(shareItem);
}
} // namespace CollageBarItems
