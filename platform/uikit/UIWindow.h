// The top of a view tree: holds the root view controller and is what the screen shows.
#pragma once

#include "platform/uikit/UIView.h"

class UIViewController;

class UIWindow : public UIView {
    NS_OBJECT(UIWindow)
public:
    static std::shared_ptr<UIWindow> initWithFrame(const CGRect& frame);

    std::shared_ptr<UIViewController> rootViewController() const { return rootViewController_; }
    // Installs the controller's view to fill the window; the old root's view leaves.
    void setRootViewController(std::shared_ptr<UIViewController> controller);
    // Makes this the application's key window and shows it (its root appears).
    void makeKeyAndVisible();
    bool isKeyWindow() const;

    std::shared_ptr<UIWindow> window() const override;

private:
    std::shared_ptr<UIViewController> rootViewController_;
    bool visible_ = false;
};
