#include "platform/foundation/EventLog.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

namespace {
// Records its appearance callbacks as "Name:event".
class Screen : public UIViewController {
    NS_OBJECT(Screen)
public:
    Screen(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    void viewDidLoad() override { log_.push_back(name_ + ":load"); }
    void viewWillAppear(bool) override { log_.push_back(name_ + ":willAppear"); }
    void viewDidAppear(bool) override { log_.push_back(name_ + ":didAppear"); }
    void viewWillDisappear(bool) override { log_.push_back(name_ + ":willDisappear"); }
    void viewDidDisappear(bool) override { log_.push_back(name_ + ":didDisappear"); }
    // With the view's width at the time, to tell before the resize from after it.
    void willRotateToInterfaceOrientationDuration(UIInterfaceOrientation orientation,
                                                  double) override {
        log_.push_back(name_ + ":willRotate" + std::to_string(static_cast<int>(orientation)) + "@" +
                       std::to_string(static_cast<int>(view()->frame().size.width)));
    }
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation from) override {
        log_.push_back(name_ + ":didRotateFrom" + std::to_string(static_cast<int>(from)) + "@" +
                       std::to_string(static_cast<int>(view()->frame().size.width)));
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

// Also records the containment calls it hears, as "Name:willMove parent" (or "nil").
class ChildScreen : public Screen {
    NS_OBJECT(ChildScreen)
public:
    ChildScreen(std::string name, std::vector<std::string>& log)
        : Screen(name, log), name_(std::move(name)), log_(log) {}
    void willMoveToParentViewController(const std::shared_ptr<UIViewController>& parent) override {
        log_.push_back(name_ + ":willMove " + (parent ? "parent" : "nil"));
    }
    void didMoveToParentViewController(const std::shared_ptr<UIViewController>& parent) override {
        log_.push_back(name_ + ":didMove " + (parent ? "parent" : "nil"));
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

// Turns only to the orientations it names, and only when it turns at all.
class FixedScreen : public UIViewController {
    NS_OBJECT(FixedScreen)
public:
    FixedScreen(bool autorotates, unsigned orientations)
        : autorotates_(autorotates), orientations_(orientations) {}
    bool shouldAutorotate() const override { return autorotates_; }
    unsigned supportedInterfaceOrientations() const override { return orientations_; }

private:
    bool autorotates_;
    unsigned orientations_;
};

class UIViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        EventLog::clear();
        navigation = UINavigationController::initWithRootViewController(root);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        log.clear();
    }
    // The application outlives the test: leave it upright.
    void TearDown() override {
        UIApplication::sharedApplication()->rotateToInterfaceOrientation(
            UIInterfaceOrientation::Portrait);
    }

    TaskEnvironment environment;
    std::vector<std::string> log;
    std::shared_ptr<Screen> root = std::make_shared<Screen>("root", log);
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<UINavigationController> navigation;
};

TEST_F(UIViewControllerTest, RotationResizesTheWindowsAndTellsTheScreensOnShow) {
    auto app = UIApplication::sharedApplication();
    auto shown = std::make_shared<Screen>("shown", log);
    navigation->pushViewControllerAnimated(shown, false);
    auto presented = std::make_shared<Screen>("presented", log);
    // Over the screen, as an alert is: the screen below stays in the window.
    presented->setModalPresentationStyle(UIModalPresentationStyle::OverFullScreen);
    shown->presentViewControllerAnimatedCompletion(presented, false, nullptr);
    auto stretchy = UIView::initWithFrame(CGRectMake(10, 10, 355, 100));
    stretchy->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    shown->view()->addSubview(stretchy);
    log.clear();

    app->rotateToInterfaceOrientation(UIInterfaceOrientation::LandscapeLeft);
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 667, 375));
    EXPECT_EQ(window->frame(), CGRectMake(0, 0, 667, 375));
    EXPECT_EQ(stretchy->frame().size.width, 647) << "autoresizing followed the window";
    // Covered screens (root, under the pushed one) hear nothing.
    EXPECT_EQ(log, (std::vector<std::string>{"shown:willRotate4@375", "presented:willRotate4@375",
                                             "shown:didRotateFrom1@667",
                                             "presented:didRotateFrom1@667"}));

    // Landscape to landscape: the size stays, the screens hear of it all the same; the same
    // orientation again is no turn at all.
    log.clear();
    app->rotateToInterfaceOrientation(UIInterfaceOrientation::LandscapeRight);
    app->rotateToInterfaceOrientation(UIInterfaceOrientation::LandscapeRight);
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 667, 375));
    EXPECT_EQ(log.size(), 4u);

    app->rotateToInterfaceOrientation(UIInterfaceOrientation::Portrait);
    EXPECT_EQ(app->statusBarOrientation(), UIInterfaceOrientation::Portrait);
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 375, 667));
    EXPECT_EQ(stretchy->frame().size.width, 355);
}

TEST_F(UIViewControllerTest, AScreenCoveredByAFullScreenPresentationTakesTheTurnLater) {
    auto cover = std::make_shared<Screen>("cover", log);
    root->presentViewControllerAnimatedCompletion(cover, false, nullptr);
    log.clear();
    UIApplication::sharedApplication()->rotateToInterfaceOrientation(
        UIInterfaceOrientation::LandscapeLeft);
    EXPECT_EQ(log, (std::vector<std::string>{"cover:willRotate4@375", "cover:didRotateFrom1@667"}));
    root->dismissViewControllerAnimatedCompletion(false, nullptr);
    EXPECT_EQ(navigation->view()->frame(), CGRectMake(0, 0, 667, 375));
    EXPECT_EQ(root->view()->frame().size.width, 667);
}

TEST_F(UIViewControllerTest, AScreenConfiguredWideTurnsUpright) {
    UIScreen::configureMainScreen(CGSizeMake(667, 375), 2);
    UIApplication::sharedApplication()->rotateToInterfaceOrientation(
        UIInterfaceOrientation::Portrait);
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 375, 667));
    EXPECT_EQ(window->frame(), CGRectMake(0, 0, 375, 667));
}

TEST_F(UIViewControllerTest, WindowShowsTheRootThroughItsNavigationController) {
    EXPECT_TRUE(root->isAppeared());
    EXPECT_EQ(root->view()->window(), window);
    EXPECT_EQ(root->navigationController(), navigation);
    EXPECT_EQ(root->view()->frame(), CGRectMake(0, 0, 375, 667));
    // Only the screen, not its container, is a screen of the event log.
    EXPECT_EQ(EventLog::entries(), std::vector<std::string>{"screen: Screen"});
}

TEST_F(UIViewControllerTest, PushAndPopSwapTheVisibleScreen) {
    auto next = std::make_shared<Screen>("next", log);
    navigation->pushViewControllerAnimated(next, true);
    EXPECT_EQ(log,
              (std::vector<std::string>{"next:load", "next:willAppear", "root:willDisappear"}));
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    EXPECT_EQ(log.back(), "next:didAppear");
    EXPECT_EQ(root->view()->superview(), nullptr);
    EXPECT_EQ(next->view()->superview(), navigation->view());

    // The same controller twice is refused.
    navigation->pushViewControllerAnimated(next, false);
    EXPECT_EQ(navigation->viewControllers().size(), 2u);

    log.clear();
    EXPECT_EQ(navigation->popViewControllerAnimated(false), next);
    EXPECT_EQ(log, (std::vector<std::string>{"root:willAppear", "next:willDisappear",
                                             "next:didDisappear", "root:didAppear"}));
    EXPECT_EQ(navigation->popViewControllerAnimated(false), nullptr);
}

TEST_F(UIViewControllerTest, PresentAndDismissRunCompletionsAfterTheTransition) {
    auto modal = std::make_shared<Screen>("modal", log);
    bool presented = false, dismissed = false;
    root->presentViewControllerAnimatedCompletion(modal, true, [&] { presented = true; });
    // A child presents through its container.
    EXPECT_EQ(navigation->presentedViewController(), modal);
    EXPECT_EQ(navigation->visibleViewController(), modal);
    environment.fastForwardBy(0.3);
    EXPECT_FALSE(presented);
    environment.fastForwardBy(0.05);
    EXPECT_TRUE(presented);
    EXPECT_FALSE(root->isAppeared());
    EXPECT_EQ(navigation->view()->superview(), nullptr);

    // A second presentation while one is shown is refused; its completion never runs.
    bool refused = true;
    navigation->presentViewControllerAnimatedCompletion(std::make_shared<Screen>("x", log), false,
                                                        [&] { refused = false; });
    EXPECT_TRUE(refused);

    modal->dismissViewControllerAnimatedCompletion(true, [&] { dismissed = true; });
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    EXPECT_TRUE(dismissed);
    EXPECT_TRUE(root->isAppeared());
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
    EXPECT_EQ(modal->view()->superview(), nullptr);
    EXPECT_EQ(navigation->view()->superview(), window);
}

TEST_F(UIViewControllerTest, DismissingWithNothingPresentedCompletesAtOnce) {
    bool done = false;
    root->dismissViewControllerAnimatedCompletion(true, [&] { done = true; });
    EXPECT_TRUE(done);
}
TEST_F(UIViewControllerTest, AChildOfAPlainScreenAppearsAndDisappearsWithItsView) {
    auto child = std::make_shared<ChildScreen>("child", log);
    root->addChildViewController(child);
    child->view()->setFrame(CGRectMake(0, 0, 100, 100));
    root->view()->addSubview(child->view());
    child->didMoveToParentViewController(root);
    EXPECT_EQ(log,
              (std::vector<std::string>{"child:willMove parent", "child:load", "child:willAppear",
                                        "child:didAppear", "child:didMove parent"}));
    EXPECT_EQ(child->parentViewController(), root);

    // Covered and uncovered with its parent.
    log.clear();
    auto cover = std::make_shared<Screen>("cover", log);
    navigation->presentViewControllerAnimatedCompletion(cover, false, nullptr);
    navigation->dismissViewControllerAnimatedCompletion(false, nullptr);
    EXPECT_EQ(
        log, (std::vector<std::string>{"cover:load", "cover:willAppear", "root:willDisappear",
                                       "child:willDisappear", "root:didDisappear",
                                       "child:didDisappear", "cover:didAppear", "root:willAppear",
                                       "child:willAppear", "cover:willDisappear",
                                       "cover:didDisappear", "root:didAppear", "child:didAppear"}));

    log.clear();
    child->willMoveToParentViewController(nullptr);
    child->view()->removeFromSuperview();
    child->removeFromParentViewController();
    EXPECT_EQ(log, (std::vector<std::string>{"child:willMove nil", "child:willDisappear",
                                             "child:didDisappear", "child:didMove nil"}));
    EXPECT_TRUE(root->childViewControllers().empty());

    // A child whose view enters a window while its parent is not on show waits for it.
    log.clear();
    auto hidden = UIViewController::init();
    hidden->addChildViewController(child);
    hidden->view()->addSubview(child->view());
    EXPECT_FALSE(child->isAppeared());
}

TEST_F(UIViewControllerTest, TheScreenOnShowDecidesWhetherTheInterfaceTurns) {
    struct Case {
        const char* name;
        bool autorotates;
        unsigned orientations;
        bool turns;
    };
    const Case cases[] = {
        {"every orientation", true, UIInterfaceOrientationMaskAll, true},
        {"no turning", false, UIInterfaceOrientationMaskAll, false},
        {"portrait only", true, UIInterfaceOrientationMaskPortrait, false},
        {"landscape left", true, UIInterfaceOrientationMaskLandscapeLeft, true},
    };
    auto app = UIApplication::sharedApplication();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto shown = std::make_shared<FixedScreen>(c.autorotates, c.orientations);
        root->presentViewControllerAnimatedCompletion(shown, false, nullptr);
        // An alert over it does not decide.
        auto over = UIViewController::init();
        over->setModalPresentationStyle(UIModalPresentationStyle::OverFullScreen);
        shown->presentViewControllerAnimatedCompletion(over, false, nullptr);
        app->rotateToInterfaceOrientation(UIInterfaceOrientation::LandscapeLeft);
        EXPECT_EQ(app->statusBarOrientation() == UIInterfaceOrientation::LandscapeLeft, c.turns);
        EXPECT_EQ(UIScreen::mainScreen()->bounds().size.width, c.turns ? 667 : 375);
        EXPECT_EQ(app->statusBarFrame(),
                  CGRectMake(0, 0, UIScreen::mainScreen()->bounds().size.width, 20));
        shown->dismissViewControllerAnimatedCompletion(false, nullptr);
        root->dismissViewControllerAnimatedCompletion(false, nullptr);
        app->rotateToInterfaceOrientation(UIInterfaceOrientation::Portrait);
    }
}
} // namespace
