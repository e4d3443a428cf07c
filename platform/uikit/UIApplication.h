// The running application: its delegate, state, windows and the lifecycle notifications;
// URLs it is asked to open are recorded, since nothing can open them here.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIApplicationDelegate.h"
#include "platform/uikit/UIInterfaceOrientation.h"
#include "platform/uikit/UIResponder.h"

#include <string>
#include <vector>

class UIEvent;

inline constexpr const char* UIApplicationDidFinishLaunchingNotification =
    "UIApplicationDidFinishLaunchingNotification";
inline constexpr const char* UIApplicationDidBecomeActiveNotification =
    "UIApplicationDidBecomeActiveNotification";
inline constexpr const char* UIApplicationWillResignActiveNotification =
    "UIApplicationWillResignActiveNotification";
inline constexpr const char* UIApplicationDidEnterBackgroundNotification =
    "UIApplicationDidEnterBackgroundNotification";
inline constexpr const char* UIApplicationWillEnterForegroundNotification =
    "UIApplicationWillEnterForegroundNotification";
inline constexpr const char* UIApplicationDidReceiveMemoryWarningNotification =
    "UIApplicationDidReceiveMemoryWarningNotification";
inline constexpr const char* UIApplicationWillTerminateNotification =
    "UIApplicationWillTerminateNotification";

enum class UIApplicationState { Active = 0, Inactive = 1, Background = 2 };

class UIApplication : public UIResponder {
    NS_OBJECT(UIApplication)
public:
    static std::shared_ptr<UIApplication> sharedApplication();
    // Replaces the shared application with a new, unlaunched one (between tests).
    static void resetForTesting();

    std::shared_ptr<UIApplicationDelegate> delegate() const { return delegate_; }
    UIApplicationState applicationState() const { return state_; }
    std::shared_ptr<UIWindow> keyWindow() const { return keyWindow_.lock(); }
    void setKeyWindow(const std::shared_ptr<UIWindow>& window);
    // The application's visible windows, back to front.
    std::vector<std::shared_ptr<UIWindow>> windows() const;

    UIInterfaceOrientation statusBarOrientation() const { return orientation_; }
    // The status bar's place: the top 20 points across the screen.
    CGRect statusBarFrame() const;
    // Turns the interface, as turning the device does: the screen becomes taller than wide
    // for a portrait orientation and wider than tall for a landscape one, every window takes the
    // screen's bounds (its views resize by their autoresizing) and the windows' screens hear of it
    // before and after. Turning to the orientation it has (on a screen of that shape), or
    // to Unknown, does nothing; so does a turn the screen on show refuses (the key window's
    // last full-screen presented screen, or its root: shouldAutorotate and
    // supportedInterfaceOrientations).
    void rotateToInterfaceOrientation(UIInterfaceOrientation orientation);

    // Hands an event to the windows of its touches (UIWindow::sendEvent).
    void sendEvent(const std::shared_ptr<UIEvent>& event);

    // Nothing can open a URL here: a valid URL is logged and recorded, and the answer is NO.
    bool openURL(const std::string& url);
    // For the same reason no URL can be opened.
    bool canOpenURL(const std::string&) const { return false; }
    // The orientations the window may take: its root view controller's; all of them for a
    // window without one (or no window).
    unsigned supportedInterfaceOrientationsForWindow(const std::shared_ptr<UIWindow>& window) const;
    const std::vector<std::string>& openedURLs() const { return openedURLs_; }

    // The lifecycle, driven by UIApplicationMain, the scenario runner and tests.
    void launch(std::shared_ptr<UIApplicationDelegate> delegate);
    void enterBackground();
    void enterForeground();
    // The system asks the application to free memory: observers of the memory warning hear it.
    void receiveMemoryWarning();
    // Tells the delegate and observers, saves the user defaults and stops the main run
    // loop; UIApplicationMain then returns the exit code.
    void terminate(int exitCode);
    int exitCode() const { return exitCode_; }

private:
    UIApplication() = default;

    void post(const char* name);

    std::shared_ptr<UIApplicationDelegate> delegate_;
    UIApplicationState state_ = UIApplicationState::Inactive;
    std::weak_ptr<UIWindow> keyWindow_;
    std::vector<std::weak_ptr<UIWindow>> windows_;
    std::vector<std::string> openedURLs_;
    UIInterfaceOrientation orientation_ = UIInterfaceOrientation::Portrait;
    int exitCode_ = 0;
    bool terminated_ = false;
};

// Creates the application and the delegate of the registered class of that name, launches
// and runs the main run loop until the application terminates; returns its exit code.
int UIApplicationMain(int argc, char** argv, const std::string& principalClassName,
                      const std::string& delegateClassName);
