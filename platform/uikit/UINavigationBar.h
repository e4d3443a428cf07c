// The bar at the top of a navigation controller's screens: the top screen's title (or
// title view) in the middle, its left button or a back button, and its right button. Its
// background reaches up behind the status bar.
#pragma once

#include "platform/uikit/NSTextAttributes.h"
#include "platform/uikit/UIView.h"

#include <functional>

class UIButton;
class UIColor;
class UINavigationItem;
class UIBarButtonItem;

class UINavigationBar : public UIView {
    NS_OBJECT(UINavigationBar)
public:
    static constexpr double kHeight = 44;
    static constexpr double kStatusBarHeight = 20;

    static std::shared_ptr<UINavigationBar> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UINavigationBar> alloc() { return initWithFrame(CGRectZero); }

    // The items shown: the top screen's, and the one below it for the back button.
    void setItems(std::shared_ptr<UINavigationItem> topItem,
                  std::shared_ptr<UINavigationItem> backItem);
    std::shared_ptr<UINavigationItem> topItem() const { return topItem_; }
    std::shared_ptr<UINavigationItem> backItem() const { return backItem_; }
    // What the back button does (the navigation controller pops).
    void setBackAction(std::function<void()> action) { backAction_ = std::move(action); }

    std::shared_ptr<UIColor> barTintColor() const { return barTintColor_; }
    void setBarTintColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> tintColor() const { return tintColor_; }
    void setTintColor(std::shared_ptr<UIColor> color);
    // The title's font and colour; without them, the bold system font at 17 points, black.
    // Its other attributes are not used.
    const NSTextAttributes& titleTextAttributes() const { return titleTextAttributes_; }
    void setTitleTextAttributes(NSTextAttributes attributes);
    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool translucent) { translucent_ = translucent; }

    void layoutSubviews() override;
    void drawRect(const CGRect& rect) override;

protected:
    UINavigationBar();

private:
    // Marks the bar for layout while it lives; what its items call when they change.
    std::function<void()> relayoutHandler();
    std::shared_ptr<UIView> viewForItem(const std::shared_ptr<UIBarButtonItem>& item);
    std::shared_ptr<UIButton> textButton(const std::string& title);

    std::shared_ptr<UINavigationItem> topItem_;
    std::shared_ptr<UINavigationItem> backItem_;
    std::function<void()> backAction_;
    std::shared_ptr<UIColor> barTintColor_;
    std::shared_ptr<UIColor> tintColor_;
    NSTextAttributes titleTextAttributes_;
    bool translucent_ = true;
};
