#include "platform/uikit/UIApplication.h"

#include "platform/base/ClassRegistry.h"

#include "platform/base/NSRunLoop.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITouch.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>

namespace {
// Main thread only, as the application is.
std::shared_ptr<UIApplication>& sharedInstance() {
    static std::shared_ptr<UIApplication> application;
    return application;
}
} // namespace

std::shared_ptr<UIApplication> UIApplication::sharedApplication() {
    std::shared_ptr<UIApplication>& application = sharedInstance();
    if (!application) {
        application = make<UIApplication>();
    }
    return application;
}

void UIApplication::resetForTesting() {
    sharedInstance() = make<UIApplication>();
}

void UIApplication::setKeyWindow(const std::shared_ptr<UIWindow>& window) {
    keyWindow_ = window;
    std::erase_if(windows_, [&](const auto& w) { return w.expired() || w.lock() == window; });
    if (window) {
        windows_.push_back(window);
    }
}

void UIApplication::rotateToInterfaceOrientation(UIInterfaceOrientation orientation) {
    if (orientation == UIInterfaceOrientation::Unknown) {
        return;
    }
    // A screen configured wider than tall starts in landscape whatever was last asked for.
    const CGSize current = UIScreen::mainScreen()->bounds().size;
    const bool shapeMatches =
        UIInterfaceOrientationIsPortrait(orientation) == (current.width <= current.height);
    if (orientation == orientation_ && shapeMatches) {
        return;
    }
    if (auto key = keyWindow(); key && key->rootViewController()) {
        auto shown = key->rootViewController();
        for (auto presented = shown->presentedViewController(); presented;
             presented = presented->presentedViewController()) {
            if (presented->modalPresentationStyle() == UIModalPresentationStyle::FullScreen) {
                shown = presented;
            }
        }
        if (!shown->shouldAutorotate() ||
            !UIInterfaceOrientationMaskContains(shown->supportedInterfaceOrientations(),
                                                orientation)) {
            return;
        }
    }
    // The time a turn takes on the device; the views here take their new frames at once.
    constexpr double kRotationDuration = 0.4;
    const UIInterfaceOrientation from = orientation_;
    const auto allWindows = windows();
    for (const auto& window : allWindows) {
        if (auto root = window->rootViewController()) {
            root->notifyWillRotate(orientation, kRotationDuration);
        }
    }
    orientation_ = orientation;
    const auto screen = UIScreen::mainScreen();
    const CGSize size = screen->bounds().size;
    const double shorter = std::min(size.width, size.height);
    const double longer = std::max(size.width, size.height);
    UIScreen::configureMainScreen(UIInterfaceOrientationIsPortrait(orientation)
                                      ? CGSizeMake(shorter, longer)
                                      : CGSizeMake(longer, shorter),
                                  screen->scale());
    for (const auto& window : allWindows) {
        window->setFrame(UIScreen::mainScreen()->bounds());
    }
    EventLog::record("orientation", std::to_string(static_cast<int>(orientation)));
    for (const auto& window : allWindows) {
        if (auto root = window->rootViewController()) {
            root->notifyDidRotate(from);
        }
    }
}

CGRect UIApplication::statusBarFrame() const {
    return CGRectMake(0, 0, UIScreen::mainScreen()->bounds().size.width,
                      UINavigationBar::kStatusBarHeight);
}

std::vector<std::shared_ptr<UIWindow>> UIApplication::windows() const {
    std::vector<std::shared_ptr<UIWindow>> alive;
    for (const auto& window : windows_) {
        if (auto w = window.lock()) {
            alive.push_back(w);
        }
    }
    return alive;
}

void UIApplication::sendEvent(const std::shared_ptr<UIEvent>& event) {
    if (!event) {
        return;
    }
    std::vector<std::shared_ptr<UIWindow>> windows;
    for (const auto& touch : event->allTouches()) {
        auto window = touch->window();
        if (window && std::find(windows.begin(), windows.end(), window) == windows.end()) {
            windows.push_back(std::move(window));
        }
    }
    for (const auto& window : windows) {
        window->sendEvent(event);
    }
}

bool UIApplication::openURL(const std::string& url) {
    if (!NSURL::URLWithString(url)) {
        NSLog("UIApplication cannot open %@: it is not a URL", url);
        return false;
    }
    openedURLs_.push_back(url);
    EventLog::record("open-url", url);
    return false;
}

unsigned UIApplication::supportedInterfaceOrientationsForWindow(
    const std::shared_ptr<UIWindow>& window) const {
    auto root = window ? window->rootViewController() : nullptr;
    return root ? root->supportedInterfaceOrientations() : UIInterfaceOrientationMaskAll;
}

void UIApplication::post(const char* name) {
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(name, self<NSObject>());
}

void UIApplication::launch(std::shared_ptr<UIApplicationDelegate> delegate) {
    delegate_ = std::move(delegate);
    state_ = UIApplicationState::Inactive;
    if (delegate_) {
        delegate_->applicationDidFinishLaunchingWithOptions(*this, {});
    }
    post(UIApplicationDidFinishLaunchingNotification);
    state_ = UIApplicationState::Active;
    if (delegate_) {
        delegate_->applicationDidBecomeActive(*this);
    }
    post(UIApplicationDidBecomeActiveNotification);
}

void UIApplication::enterBackground() {
    if (state_ == UIApplicationState::Background) {
        return;
    }
    if (delegate_) {
        delegate_->applicationWillResignActive(*this);
    }
    post(UIApplicationWillResignActiveNotification);
    state_ = UIApplicationState::Background;
    if (delegate_) {
        delegate_->applicationDidEnterBackground(*this);
    }
    post(UIApplicationDidEnterBackgroundNotification);
}

void UIApplication::enterForeground() {
    if (state_ != UIApplicationState::Background) {
        return;
    }
    // Observers of the foreground notification still see the background state.
    if (delegate_) {
        delegate_->applicationWillEnterForeground(*this);
    }
    post(UIApplicationWillEnterForegroundNotification);
    state_ = UIApplicationState::Active;
    if (delegate_) {
        delegate_->applicationDidBecomeActive(*this);
    }
    post(UIApplicationDidBecomeActiveNotification);
}

void UIApplication::receiveMemoryWarning() {
    post(UIApplicationDidReceiveMemoryWarningNotification);
}

void UIApplication::terminate(int exitCode) {
    if (terminated_) {
        return;
    }
    terminated_ = true;
    exitCode_ = exitCode;
    if (delegate_) {
        delegate_->applicationWillTerminate(*this);
    }
    post(UIApplicationWillTerminateNotification);
    NSUserDefaults::standardUserDefaults()->synchronize();
    NSRunLoop::mainRunLoop().stop();
}

int UIApplicationMain(int argc, char** argv, const std::string& principalClassName,
                      const std::string& delegateClassName) {
    auto& runLoop = NSRunLoop::mainRunLoop();
    auto application = UIApplication::sharedApplication();
    std::shared_ptr<UIApplicationDelegate> delegate;
    if (const Class* cls = NSClassFromString(delegateClassName)) {
        delegate = std::dynamic_pointer_cast<UIApplicationDelegate>(cls->alloc());
    }
    if (!delegate) {
        NSLog("UIApplicationMain: no application delegate class named %@", delegateClassName);
        return 1;
    }
    // What class initialisation queued for the main thread runs before the launch, as
    // work queued at load time does on the platform.
    runLoop.runUntilIdle();
    application->launch(delegate);
    runLoop.run();
    return application->exitCode();
}
