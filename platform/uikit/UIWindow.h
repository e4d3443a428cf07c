// The top of a view tree: holds the root view controller, is what the screen shows, and
// hands touch events to its views and their gesture recognisers.
#pragma once

#include "platform/uikit/UIView.h"

#include <optional>

class UITouch;
class UIViewController;

class UIWindow : public UIView {
    NS_OBJECT(UIWindow)
public:
    static std::shared_ptr<UIWindow> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UIWindow> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<UIViewController> rootViewController() const { return rootViewController_; }
    // Installs the controller's view to fill the window; the old root's view leaves.
    void setRootViewController(std::shared_ptr<UIViewController> controller);
    // Makes this the application's key window and shows it (its root appears).
    void makeKeyAndVisible();
    bool isKeyWindow() const;

    std::shared_ptr<UIWindow> window() const override;
    // After the window comes the application.
    std::shared_ptr<UIResponder> nextResponder() const override;

    // Delivers the event's touches that belong to this window. A touch landing is
    // hit-tested once; the view hit is its view until it lifts, and the gesture recognisers
    // of that view and its ancestors (deepest first) watch it. Each event goes to those
    // recognisers first, then to the views:
    // - a recogniser that recognises with cancelsTouchesInView cancels its touches in their
    //   views (touchesCancelled at once), and the views hear nothing more of them;
    // - while a recogniser with delaysTouchesBegan is still Possible, a touch's view gets
    //   nothing; once none is, the view gets touchesBegan and what follows. A touch lifting
    //   while still held is delivered, began and ended, at once rather than waiting for the
    //   recogniser to decide.
    // Touches that do not change in an event (Stationary) are not delivered.
    virtual void sendEvent(const std::shared_ptr<UIEvent>& event);

protected:
    UIWindow() = default;

private:
    friend class UIGestureRecognizer;
    using ViewTouches = std::vector<std::pair<std::shared_ptr<UIView>, UITouchSet>>;

    // Hit-tests a new touch, counts its taps and gives it its recognisers.
    void beginTouch(UITouch& touch, const UIEvent& event);
    void deliverToViews(const std::vector<std::shared_ptr<UITouch>>& touches, const UIEvent* event);
    // Called by a recogniser that recognised: the views of the touches hear no more of them.
    void cancelTouchesInView(const std::vector<std::shared_ptr<UITouch>>& touches);
    static bool isHeldByRecognizer(const UITouch& touch);
    static void addViewTouch(ViewTouches& groups, const std::shared_ptr<UITouch>& touch);
    void rememberTap(const UITouch& touch);

    std::shared_ptr<UIViewController> rootViewController_;
    bool visible_ = false;
    // The last tap that lifted, for counting multiple taps.
    std::optional<CGPoint> lastTapLocation_;
    double lastTapTime_ = 0;
    unsigned lastTapCount_ = 0;
};
