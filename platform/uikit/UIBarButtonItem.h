// A button of a navigation bar: a title, an image or a custom view, and what it does. The
// bar draws an item of the Done style in bold.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <memory>
#include <string>

class UIColor;
class UIImage;
class UIView;

enum class UIBarButtonItemStyle { Plain = 0, Bordered = 1, Done = 2 };
// The platform's own items, numbered as it numbers them; only those the app uses.
enum class UIBarButtonSystemItem { Done = 0, Cancel = 1 };

class UIBarButtonItem : public NSObject {
    NS_OBJECT(UIBarButtonItem)
public:
    // The action runs while the target lives.
    using Action = std::function<void(UIBarButtonItem&)>;

    static std::shared_ptr<UIBarButtonItem>
    initWithTitleStyleTargetAction(std::string title, UIBarButtonItemStyle style,
                                   std::weak_ptr<NSObject> target, Action action);
    static std::shared_ptr<UIBarButtonItem>
    initWithImageStyleTargetAction(std::shared_ptr<UIImage> image, UIBarButtonItemStyle style,
                                   std::weak_ptr<NSObject> target, Action action);
    static std::shared_ptr<UIBarButtonItem> initWithCustomView(std::shared_ptr<UIView> view);
    // The platform's item with its own title: "Done" in the Done style, "Cancel" plain.
    static std::shared_ptr<UIBarButtonItem>
    initWithBarButtonSystemItemTargetAction(UIBarButtonSystemItem systemItem,
                                            std::weak_ptr<NSObject> target, Action action);

    const std::string& title() const { return title_; }
    std::shared_ptr<UIImage> image() const { return image_; }
    std::shared_ptr<UIView> customView() const { return customView_; }
    UIBarButtonItemStyle style() const { return style_; }
    std::shared_ptr<UIColor> tintColor() const { return tintColor_; }
    void setTintColor(std::shared_ptr<UIColor> color) { tintColor_ = std::move(color); }
    // What a finger or a screen reader finds the item by; a picture item has no title.
    const std::string& accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityLabel(std::string label) { accessibilityLabel_ = std::move(label); }
    bool isEnabled() const { return enabled_; }
    // A bar showing the item redraws its button, so a disabled item looks disabled at once.
    void setEnabled(bool enabled);
    // Told when the item's look changes, by the bar that shows the item.
    void setChangeHandler(std::function<void()> handler) { changeHandler_ = std::move(handler); }
    // What a tap on the item does.
    void performAction();

private:
    std::string title_;
    std::shared_ptr<UIImage> image_;
    std::shared_ptr<UIView> customView_;
    UIBarButtonItemStyle style_ = UIBarButtonItemStyle::Plain;
    std::shared_ptr<UIColor> tintColor_;
    std::string accessibilityLabel_;
    bool enabled_ = true;
    std::weak_ptr<NSObject> target_;
    Action action_;
    std::function<void()> changeHandler_;
};
