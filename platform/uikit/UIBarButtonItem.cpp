#include "platform/uikit/UIBarButtonItem.h"

std::shared_ptr<UIBarButtonItem>
UIBarButtonItem::initWithTitleStyleTargetAction(std::string title, UIBarButtonItemStyle style,
                                                std::weak_ptr<NSObject> target, Action action) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->title_ = std::move(title);
    item->style_ = style;
    item->target_ = std::move(target);
    item->action_ = std::move(action);
    return item;
}

std::shared_ptr<UIBarButtonItem>
UIBarButtonItem::initWithImageStyleTargetAction(std::shared_ptr<UIImage> image,
                                                UIBarButtonItemStyle style,
                                                std::weak_ptr<NSObject> target, Action action) {
    auto item = initWithTitleStyleTargetAction("", style, std::move(target), std::move(action));
    item->image_ = std::move(image);
    return item;
}

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::initWithCustomView(std::shared_ptr<UIView> view) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->customView_ = std::move(view);
    return item;
}

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::initWithBarButtonSystemItemTargetAction(
    UIBarButtonSystemItem systemItem, std::weak_ptr<NSObject> target, Action action) {
    const bool done = systemItem == UIBarButtonSystemItem::Done;
    return initWithTitleStyleTargetAction(
        done ? "Done" : "Cancel", done ? UIBarButtonItemStyle::Done : UIBarButtonItemStyle::Plain,
        std::move(target), std::move(action));
}

void UIBarButtonItem::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (changeHandler_) {
        changeHandler_();
    }
}

void UIBarButtonItem::performAction() {
    if (!enabled_ || !action_) {
        return;
    }
    if (auto target = target_.lock()) {
        action_(*this);
    }
}
