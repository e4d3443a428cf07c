// An item of an editor menu strip: an icon above a one-line title, standing for one tool
// entry. The standard item is 70 x 80: a 50-point square icon 5 points from the top and a
// 15-point title below it. Selected items take the theme's selection colour; items that
// take no touches are dimmed.
#pragma once

#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <string>

class PEImageToolInfo;
class UIImage;
class UIImageView;
class UILabel;

class PEToolbarMenuItem : public UIView {
    NS_OBJECT(PEToolbarMenuItem)
public:
    static std::shared_ptr<PEToolbarMenuItem> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PEToolbarMenuItem> alloc() { return initWithFrame(CGRectZero); }
    // An item that sends `action` to `target` when tapped and shows `toolInfo`.
    static std::shared_ptr<PEToolbarMenuItem>
    initWithFrameTargetActionToolInfo(const CGRect& frame, std::weak_ptr<NSObject> target,
                                      UIGestureRecognizer::Action action,
                                      const std::shared_ptr<PEImageToolInfo>& toolInfo);

    std::shared_ptr<UIImageView> iconView() const { return iconView_; }
    std::string title() const;
    void setTitle(std::string title);
    std::shared_ptr<UIImage> iconImage() const;
    void setIconImage(std::shared_ptr<UIImage> image);
    bool selected() const { return selected_; }
    void setSelected(bool selected);

    // Keeps the entry as the view's tool entry and shows its title and its icon, or no
    // icon when the entry has no icon path.
    void setToolInfo(const std::shared_ptr<PEImageToolInfo>& toolInfo);
    // Dims the item to 0.3 while it takes no touches.
    void setUserInteractionEnabled(bool enabled) override;
    // The title, unless a label was set: what a finger looking for the item reads.
    std::string accessibilityLabel() const override;

protected:
    PEToolbarMenuItem() = default;
    // What the factories do to a new item (of this class or a subclass).
    void setUpWithFrame(const CGRect& frame);
    // A new item of the class `Item`, as initWithFrameTargetActionToolInfo makes one.
    template <class Item>
    static std::shared_ptr<Item>
    itemWithFrameTargetActionToolInfo(const CGRect& frame, std::weak_ptr<NSObject> target,
                                      UIGestureRecognizer::Action action,
                                      const std::shared_ptr<PEImageToolInfo>& toolInfo) {
        auto item = make<Item>();
        item->setUpWithFrame(frame);
        item->setUpTapTargetActionToolInfo(std::move(target), std::move(action), toolInfo);
        return item;
    }

private:
    void setUpTapTargetActionToolInfo(std::weak_ptr<NSObject> target,
                                      UIGestureRecognizer::Action action,
                                      const std::shared_ptr<PEImageToolInfo>& toolInfo);

    std::shared_ptr<UIImageView> iconView_;
    std::shared_ptr<UILabel> titleLabel_;
    bool selected_ = false;
};
