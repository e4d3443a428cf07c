// The application delegate: fills the configuration before the application exists, then
// at launch seeds the background defaults and shows the main menu in a navigation
// controller.
#pragma once

#include "platform/uikit/UIApplicationDelegate.h"
#include "platform/uikit/UIResponder.h"

class AppDelegate : public UIResponder, public UIApplicationDelegate {
    NS_OBJECT(AppDelegate)
public:
    // Runs once, when the class is first looked up (before the application is created).
    static void initialize();

    bool applicationDidFinishLaunchingWithOptions(UIApplication& application,
                                                  const PlistValue::Dictionary& options) override;
    std::shared_ptr<UIWindow> window() const override { return window_; }
    void setWindow(std::shared_ptr<UIWindow> window) { window_ = std::move(window); }

private:
    std::shared_ptr<UIWindow> window_;
};
