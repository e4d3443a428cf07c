// The bar at the top of a navigation controller's screens, or standing alone in a screen
// that keeps its own stack of items: the top item's title (or title view) in the middle,
// its left button or a back button to the item below, and its right button. Attached to
// the top of the screen (as its delegate says), its background reaches up behind the
// status bar. Pushes and pops change the items at once; the platform's slide is not drawn.
#pragma once

#include "platform/uikit/NSTextAttributes.h"
#include "platform/uikit/UINavigationBarDelegate.h"
#include "platform/uikit/UIView.h"

#include <functional>
#include <vector>

class UIButton;
class UIColor;
class UINavigationItem;
class UIBarButtonItem;

// The bar's look, numbered as the platform numbers them.
enum class UIBarStyle { Default = 0, Black = 1, BlackTranslucent = 2 };

class UINavigationBar : public UIView {
    NS_OBJECT(UINavigationBar)
public:
    static constexpr double kHeight = 44;
    static constexpr double kStatusBarHeight = 20;

    static std::shared_ptr<UINavigationBar> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UINavigationBar> alloc() { return initWithFrame(CGRectZero); }

    // The stack of items, bottom first: the top one is shown, the one below it names the
    // back button.
    const std::vector<std::shared_ptr<UINavigationItem>>& items() const { return items_; }
    void setItemsAnimated(std::vector<std::shared_ptr<UINavigationItem>> items, bool animated);
    // An item already on the stack, or none, is refused with a log line.
    void pushNavigationItemAnimated(const std::shared_ptr<UINavigationItem>& item, bool animated);
    // The item taken off; null when the stack is empty.
    std::shared_ptr<UINavigationItem> popNavigationItemAnimated(bool animated);
    std::shared_ptr<UINavigationItem> topItem() const;
    std::shared_ptr<UINavigationItem> backItem() const;
    // What the back button does; without one it pops the top item (a navigation
    // controller pops its top screen instead).
    void setBackAction(std::function<void()> action) { backAction_ = std::move(action); }

    std::shared_ptr<UINavigationBarDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UINavigationBarDelegate> delegate) {
        delegate_ = std::move(delegate);
        setNeedsDisplay();
    }
    // What the delegate answers; Any without one.
    UIBarPosition barPosition() const;
    // Black styles draw a dark bar with white titles where no tint colour says otherwise.
    UIBarStyle barStyle() const { return barStyle_; }
    void setBarStyle(UIBarStyle style);

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
    // The top item is told of the bar's changes, the others of none.
    void itemsChanged(const std::shared_ptr<UINavigationItem>& oldTop);
    std::shared_ptr<UIView> viewForItem(const std::shared_ptr<UIBarButtonItem>& item);
    std::shared_ptr<UIButton> textButton(const std::string& title, bool bold);
    void tappedBack();

    std::vector<std::shared_ptr<UINavigationItem>> items_;
    std::function<void()> backAction_;
    std::weak_ptr<UINavigationBarDelegate> delegate_;
    UIBarStyle barStyle_ = UIBarStyle::Default;
    std::shared_ptr<UIColor> barTintColor_;
    std::shared_ptr<UIColor> tintColor_;
    NSTextAttributes titleTextAttributes_;
    bool translucent_ = true;
};
