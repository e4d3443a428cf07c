// A stack of screens: the top one fills the navigation controller's view; push and pop
// move between them with appearance callbacks.
#pragma once

#include "platform/uikit/UINavigationBarDelegate.h"
#include "platform/uikit/UIViewController.h"

class UINavigationBar;

class UINavigationController : public UIViewController, public UINavigationBarDelegate {
    NS_OBJECT(UINavigationController)
public:
    static std::shared_ptr<UINavigationController>
    initWithRootViewController(const std::shared_ptr<UIViewController>& root);
    static std::shared_ptr<UINavigationController> alloc() {
        return initWithRootViewController(nullptr);
    }

    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const {
        return childViewControllers();
    }
    std::shared_ptr<UIViewController> topViewController() const;
    // The top controller's presented controller when it presents one, else the top.
    std::shared_ptr<UIViewController> visibleViewController() const;

    // A controller already on the stack is refused with a log line.
    void pushViewControllerAnimated(const std::shared_ptr<UIViewController>& controller,
                                    bool animated);
    // Null when only the root is left.
    std::shared_ptr<UIViewController> popViewControllerAnimated(bool animated);
    std::vector<std::shared_ptr<UIViewController>> popToRootViewControllerAnimated(bool animated);

    bool isNavigationBarHidden() const { return navigationBarHidden_; }
    void setNavigationBarHidden(bool hidden) { setNavigationBarHiddenAnimated(hidden, false); }
    void setNavigationBarHiddenAnimated(bool hidden, bool animated);
    // The bar over the top screen (its view lies under the bar, which is translucent).
    std::shared_ptr<UINavigationBar> navigationBar() const;

    void loadView() override;
    // Its bar is attached to the top of the screen.
    UIBarPosition positionForBar(const UIView& bar) override { return UIBarPosition::TopAttached; }

protected:
    UINavigationController() = default;

    std::vector<std::shared_ptr<UIViewController>> visibleChildViewControllers() const override;
    bool isContainer() const override { return true; }

private:
    // Replaces the shown top view with the new top's, with appearance calls when on screen.
    void transition(const std::shared_ptr<UIViewController>& from,
                    const std::shared_ptr<UIViewController>& to, bool animated,
                    std::vector<std::shared_ptr<UIViewController>> removed);
    void installTopView();
    void updateBar();

    bool navigationBarHidden_ = false;
    mutable std::shared_ptr<UINavigationBar> navigationBar_;
};
