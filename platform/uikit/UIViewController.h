// A screen: owns a view (loaded on first use), gets appearance callbacks, and presents
// other controllers modally.
#pragma once

#include "platform/uikit/UIInterfaceOrientation.h"
#include "platform/uikit/UIResponder.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class UIView;
class UINavigationController;
class UINavigationItem;

enum class UIModalPresentationStyle {
    FullScreen,     // the presenter's view leaves the window while covered
    OverFullScreen, // the presenter stays visible underneath (alerts, sheets)
};

class UIViewController : public UIResponder {
    NS_OBJECT(UIViewController)
public:
    // A screen with no view yet: the view is loaded on first access.
    static std::shared_ptr<UIViewController> init();
    // What the class registry makes: the same.
    static std::shared_ptr<UIViewController> alloc() { return init(); }
    // How long an animated transition (present, dismiss, push, pop) takes.
    static constexpr double kTransitionDuration = 0.35;

    // The root view; loadView and viewDidLoad run on first access.
    std::shared_ptr<UIView> view();
    void setView(std::shared_ptr<UIView> view);
    bool isViewLoaded() const { return view_ != nullptr; }

    const std::string& title() const { return title_; }
    // Also the title of the navigation item.
    virtual void setTitle(std::string title);
    // What the navigation bar shows while this screen is on top; made on first use.
    std::shared_ptr<UINavigationItem> navigationItem() const;

    // Hooks for subclasses.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool animated) {}
    virtual void viewDidAppear(bool animated) {}
    virtual void viewWillDisappear(bool animated) {}
    virtual void viewDidDisappear(bool animated) {}
    // Around a turn of the interface: before the views take the new screen size, and
    // after they took it.
    virtual void willRotateToInterfaceOrientationDuration(UIInterfaceOrientation orientation,
                                                          double duration) {}
    virtual void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) {}
    // Whether the interface turns with the device while this screen is the one on show
    // (the last full-screen one presented), and to which orientations (a mask); every
    // orientation unless a screen says otherwise.
    virtual bool shouldAutorotate() const { return true; }
    virtual unsigned supportedInterfaceOrientations() const {
        return UIInterfaceOrientationMaskAll;
    }

    // Modal presentation. Presenting from a controller that already presents one, or
    // whose view is not in a window, is refused with a log line (the completion does not
    // run), as the platform does.
    void presentViewControllerAnimatedCompletion(std::shared_ptr<UIViewController> controller,
                                                 bool animated, std::function<void()> completion);
    // Dismisses what this controller presents, or this controller if it is presented;
    // with nothing to dismiss the completion runs at once.
    void dismissViewControllerAnimatedCompletion(bool animated, std::function<void()> completion);
    std::shared_ptr<UIViewController> presentedViewController() const {
        return presentedViewController_;
    }
    std::shared_ptr<UIViewController> presentingViewController() const {
        return presentingViewController_.lock();
    }
    UIModalPresentationStyle modalPresentationStyle() const { return modalPresentationStyle_; }
    void setModalPresentationStyle(UIModalPresentationStyle style) {
        modalPresentationStyle_ = style;
    }

    // Containment.
    std::shared_ptr<UIViewController> parentViewController() const {
        return parentViewController_.lock();
    }
    const std::vector<std::shared_ptr<UIViewController>>& childViewControllers() const {
        return childViewControllers_;
    }
    // Adding tells the child willMoveToParentViewController with its new parent; removing
    // tells it didMoveToParentViewController with none. The other call of each pair is
    // the container's to make. A child of a plain screen (not a navigation controller)
    // appears when its view enters the window with its parent on show, and disappears
    // when its view leaves the window.
    void addChildViewController(const std::shared_ptr<UIViewController>& child);
    void removeFromParentViewController();
    virtual void willMoveToParentViewController(const std::shared_ptr<UIViewController>& parent) {}
    virtual void didMoveToParentViewController(const std::shared_ptr<UIViewController>& parent) {}
    // The nearest navigation controller up the parent chain, or null.
    std::shared_ptr<UINavigationController> navigationController() const;

    // Appearance plumbing, called by windows and containers. Calls are forwarded to the
    // children that are on screen; repeated calls in the same direction are ignored.
    void beginAppearanceTransition(bool isAppearing, bool animated);
    void endAppearanceTransition();
    bool isAppeared() const { return appearance_ == Appearance::Appeared; }
    // Rotation plumbing, called by the application for each window's root: this
    // controller's hook, then those of its visible children and of what it presents. A
    // screen out of the window under a full-screen presentation hears nothing; its view
    // takes the window's size when it shows again.
    void notifyWillRotate(UIInterfaceOrientation orientation, double duration);
    void notifyDidRotate(UIInterfaceOrientation fromOrientation);

    std::shared_ptr<UIResponder> nextResponder() const override;

protected:
    UIViewController() = default;

    // The children whose views are on screen with this controller's view: here, those
    // whose views lie inside it.
    virtual std::vector<std::shared_ptr<UIViewController>> visibleChildViewControllers() const;
    // Containers are not screens of their own in the event log.
    virtual bool isContainer() const { return false; }
    // Whether appearing is logged as a screen shown (alerts log themselves as alerts).
    virtual bool logsAsScreen() const { return !isContainer(); }
    // Runs `step` after the transition time when animated, else at once.
    static void afterTransition(bool animated, std::function<void()> step);

private:
    friend class UIView;
    enum class Appearance { Disappeared, Appearing, Appeared, Disappearing };
    // Called by the root view when it has entered or left a window.
    void rootViewDidMoveToWindow(bool inWindow);
    void finishDismissal(bool animated, std::function<void()> completion);

    std::shared_ptr<UIView> view_;
    std::string title_;
    mutable std::shared_ptr<UINavigationItem> navigationItem_;
    std::shared_ptr<UIViewController> presentedViewController_;
    std::weak_ptr<UIViewController> presentingViewController_;
    UIModalPresentationStyle modalPresentationStyle_ = UIModalPresentationStyle::FullScreen;
    std::weak_ptr<UIViewController> parentViewController_;
    std::vector<std::shared_ptr<UIViewController>> childViewControllers_;
    Appearance appearance_ = Appearance::Disappeared;
    bool appearanceAnimated_ = false;
};
