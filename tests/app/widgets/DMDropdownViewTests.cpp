#include "app/widgets/CCDropdownTitleView.h"
#include "app/widgets/DMDropdownView.h"
#include "harness/TouchInjector.h"
#include "platform/quartzcore/CAKeyframeAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;

struct CountingDelegate : DMDropdownViewDelegate {
    int taps = 0;
    void dropdownViewDidTapBackgroundButton(DMDropdownView&) override { ++taps; }
};

// A screen with a white root view, the album title at the top and the dropdown toggled by
// the title's button, as the photo picker wires them: the menu covers the area below the
// bar, (0, 64) to the bottom.
class DMDropdownViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
        root = screen->view();
        root->setBackgroundColor(UIColor::whiteColor());
        title->setFrame(CGRectMake(0, 20, 200, 44));
        title->setTitle("Album");
        root->addSubview(title);
        dropdown->setMenuContentView(content);
        dropdown->setMenuBackgroundColor(UIColor::whiteColor());
        dropdown->setTitleViewImageView(title->imageView());
        dropdown->setDelegate(delegate);
        std::weak_ptr<DMDropdownView> weak = dropdown;
        std::weak_ptr<UIView> host = root;
        title->titleButton()->addTargetActionForControlEvents(
            dropdown,
            [weak, host](UIControl&) {
                auto menu = weak.lock();
                if (menu->isOpen()) {
                    menu->hide();
                } else {
                    menu->showInViewWithFrame(host.lock(), kArea);
                }
            },
            UIControlEventTouchUpInside);
    }

    void open() {
        dropdown->showInViewWithFrame(root, kArea);
        environment.fastForwardBy(0.35);
        ASSERT_TRUE(dropdown->isOpen());
    }
    void tapTitle() { TouchInjector::tapAt(TouchInjector::tapPointOfView(*title->titleButton())); }
    std::shared_ptr<CAKeyframeAnimation> panelAnimation() const {
        return std::dynamic_pointer_cast<CAKeyframeAnimation>(
            dropdown->menuView()->layer()->animationForKey(""));
    }
    std::shared_ptr<CAKeyframeAnimation> arrowAnimation() const {
        return std::dynamic_pointer_cast<CAKeyframeAnimation>(
            title->imageView()->layer()->animationForKey("rotation.title"));
    }
    static std::vector<CGPoint> points(const CAKeyframeAnimation& animation) {
        std::vector<CGPoint> out;
        for (const auto& value : animation.values()) {
            out.push_back(std::get<CGPoint>(value));
        }
        return out;
    }
    static std::vector<double> angles(const CAKeyframeAnimation& animation) {
        std::vector<double> out;
        for (const auto& value : animation.values()) {
            out.push_back(std::get<double>(value));
        }
        return out;
    }

    static constexpr CGRect kArea = CGRect{{0, 64}, {375, 600}};
    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<UIViewController> screen = UIViewController::init();
    std::shared_ptr<UIView> root;
    std::shared_ptr<CCDropdownTitleView> title = CCDropdownTitleView::titleView();
    std::shared_ptr<UIView> content = UIView::initWithFrame(CGRectMake(0, 0, 375, 440));
    std::shared_ptr<DMDropdownView> dropdown = DMDropdownView::init();
    std::shared_ptr<CountingDelegate> delegate = std::make_shared<CountingDelegate>();
};

TEST_F(DMDropdownViewTest, Defaults) {
    auto fresh = DMDropdownView::init();
    EXPECT_EQ(fresh->currentState(), DMDropdownViewStateClosed);
    EXPECT_FALSE(fresh->isOpen());
    EXPECT_EQ(fresh->animationDuration(), 0.35);
    EXPECT_EQ(fresh->blackMaskAlpha(), 0.5);
    EXPECT_FALSE(fresh->mainView());
    EXPECT_FALSE(fresh->menuView());
}

TEST_F(DMDropdownViewTest, PanelGeometry) {
    struct Case {
        double contentHeight, panelHeight, openCentreY;
    } const cases[] = {
        // The panel is a point taller than its content and opens a point short, so that
        // its top row stays above the area's edge.
        {440, 441, 219.5},
        // Content taller than the area: the panel is as high as the area.
        {800, 600, 299},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "content " << c.contentHeight);
        auto menu = DMDropdownView::init();
        auto tall = UIView::initWithFrame(CGRectMake(0, 0, 300, c.contentHeight));
        menu->setMenuContentView(tall);
        menu->showInViewWithFrame(root, kArea);

        EXPECT_EQ(menu->mainView()->superview(), root);
        EXPECT_EQ(menu->mainView()->frame(), kArea);
        EXPECT_TRUE(menu->mainView()->clipsToBounds());
        EXPECT_EQ(menu->backgroundButton()->frame(), CGRectMake(0, 0, 375, 600));
        // The dimming under the panel.
        ASSERT_EQ(menu->mainView()->subviews().size(), 2u);
        EXPECT_EQ(menu->mainView()->subviews()[0], menu->backgroundButton());
        EXPECT_EQ(menu->mainView()->subviews()[1], menu->menuView());
        EXPECT_EQ(tall->superview(), menu->menuView());
        EXPECT_EQ(tall->frame(), CGRectMake(0, 1, 300, c.contentHeight));

        auto slide = std::dynamic_pointer_cast<CAKeyframeAnimation>(
            menu->menuView()->layer()->animationForKey(""));
        ASSERT_TRUE(slide);
        const std::vector<CGPoint> down{{187.5, -c.panelHeight / 2}, {187.5, c.openCentreY}};
        EXPECT_EQ(points(*slide), down);
        // The model is where the slide ends.
        EXPECT_EQ(menu->menuView()->frame(),
                  CGRectMake(0, c.openCentreY - c.panelHeight / 2, 375, c.panelHeight));

        environment.fastForwardBy(0.35);
        menu->hide();
        slide = std::dynamic_pointer_cast<CAKeyframeAnimation>(
            menu->menuView()->layer()->animationForKey(""));
        const std::vector<CGPoint> up{{187.5, c.openCentreY}, {187.5, -c.panelHeight / 2}};
        EXPECT_EQ(points(*slide), up);
        EXPECT_EQ(menu->menuView()->frame(), CGRectMake(0, -c.panelHeight, 375, c.panelHeight));
        environment.fastForwardBy(0.35);
    }
}

TEST_F(DMDropdownViewTest, StateTable) {
    // Hiding a closed menu does nothing.
    dropdown->hide();
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosed);

    dropdown->showInViewWithFrame(root, kArea);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateOpening);
    EXPECT_FALSE(dropdown->isOpen());
    auto opening = panelAnimation();
    // While opening, neither showing again nor hiding does anything.
    dropdown->showInViewWithFrame(root, CGRectMake(0, 0, 100, 100));
    dropdown->hide();
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateOpening);
    EXPECT_EQ(panelAnimation(), opening);
    EXPECT_EQ(dropdown->mainView()->frame(), kArea);

    environment.fastForwardBy(0.34);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateOpening);
    environment.fastForwardBy(0.02);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateOpen);
    EXPECT_TRUE(dropdown->isOpen());
    dropdown->showInViewWithFrame(root, CGRectMake(0, 0, 100, 100));
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateOpen);
    EXPECT_EQ(panelAnimation(), opening);

    dropdown->hide();
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosing);
    EXPECT_FALSE(dropdown->isOpen());
    auto closing = panelAnimation();
    dropdown->hide();
    dropdown->showInViewWithFrame(root, kArea);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosing);
    EXPECT_EQ(panelAnimation(), closing);

    environment.fastForwardBy(0.34);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosing);
    EXPECT_EQ(dropdown->mainView()->superview(), root);
    environment.fastForwardBy(0.02);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosed);
    EXPECT_FALSE(dropdown->mainView()->superview());
    EXPECT_FALSE(dropdown->backgroundButton()->superview());
    EXPECT_FALSE(dropdown->menuView()->superview());

    // The views are kept and reused by the next opening.
    auto area = dropdown->mainView();
    auto panel = dropdown->menuView();
    dropdown->showInViewWithFrame(root, kArea);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateOpening);
    EXPECT_EQ(dropdown->mainView(), area);
    EXPECT_EQ(dropdown->menuView(), panel);
    EXPECT_EQ(area->superview(), root);
    EXPECT_EQ(panel->superview(), area);
}

TEST_F(DMDropdownViewTest, PhasesLastTheAnimationDuration) {
    dropdown->setAnimationDuration(1.0);
    dropdown->showInViewWithFrame(root, kArea);
    EXPECT_EQ(panelAnimation()->duration(), 1.0);
    EXPECT_EQ(arrowAnimation()->duration(), 1.0);
    environment.fastForwardBy(0.9);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateOpening);
    environment.fastForwardBy(0.11);
    EXPECT_TRUE(dropdown->isOpen());
    dropdown->hide();
    environment.fastForwardBy(0.9);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosing);
    environment.fastForwardBy(0.11);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosed);
}

TEST_F(DMDropdownViewTest, SlideAndArrowAnimations) {
    dropdown->showInViewWithFrame(root, kArea);
    auto slide = panelAnimation();
    ASSERT_TRUE(slide);
    EXPECT_EQ(slide->keyPath(), "position");
    EXPECT_EQ(slide->duration(), 0.35);
    EXPECT_FALSE(slide->isRemovedOnCompletion());
    EXPECT_EQ(slide->fillMode(), kCAFillModeForwards);
    EXPECT_EQ(slide->keyTimes(), (std::vector<double>{0.0, 0.5, 1.0}));
    EXPECT_EQ(slide->timingFunctions(),
              std::vector<std::string>{kCAMediaTimingFunctionEaseInEaseOut});

    auto turn = arrowAnimation();
    ASSERT_TRUE(turn);
    EXPECT_EQ(turn->keyPath(), "transform.rotation");
    EXPECT_EQ(turn->duration(), 0.35);
    EXPECT_FALSE(turn->isRemovedOnCompletion());
    EXPECT_EQ(turn->fillMode(), kCAFillModeForwards);
    EXPECT_EQ(turn->keyTimes(), slide->keyTimes());
    EXPECT_EQ(turn->timingFunctions(), slide->timingFunctions());
    EXPECT_EQ(angles(*turn), (std::vector<double>{0, kPi}));

    // Both stay on their layers once finished; the arrow's own transform never moves.
    environment.fastForwardBy(0.35);
    EXPECT_EQ(panelAnimation(), slide);
    EXPECT_EQ(arrowAnimation(), turn);
    EXPECT_EQ(title->imageView()->transform(), CGAffineTransformIdentity);

    // Closing turns a whole turn backwards, from the same start.
    dropdown->hide();
    EXPECT_EQ(angles(*arrowAnimation()), (std::vector<double>{0, -2 * kPi}));
    environment.fastForwardBy(0.35);

    // An arrow already turned starts from its own angle, in single precision.
    title->imageView()->setTransform(CGAffineTransformMakeRotation(0.3));
    dropdown->showInViewWithFrame(root, kArea);
    const double start = static_cast<float>(0.3);
    EXPECT_EQ(angles(*arrowAnimation()), (std::vector<double>{start, start + kPi}));
    environment.fastForwardBy(0.35);

    // Without an arrow only the panel moves.
    auto plain = DMDropdownView::init();
    plain->showInViewWithFrame(root, kArea);
    EXPECT_TRUE(plain->menuView()->layer()->animationForKey(""));
}

TEST_F(DMDropdownViewTest, SecondTitleTapWhileOpeningIsIgnored) {
    tapTitle();
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateOpening);
    environment.fastForwardBy(0.1);
    // Opening is not open, so the title's toggle asks to show again, which is ignored.
    tapTitle();
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateOpening);
    environment.fastForwardBy(0.25);
    EXPECT_TRUE(dropdown->isOpen());

    tapTitle();
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosing);
    environment.fastForwardBy(0.35);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosed);
    EXPECT_EQ(delegate->taps, 0);
}

TEST_F(DMDropdownViewTest, BackgroundTapClosesAndTellsTheDelegateLater) {
    ASSERT_NO_FATAL_FAILURE(open());
    // The panel takes its own taps: only the dimming below it closes the menu.
    TouchInjector::tapAt(CGPointMake(187, 300));
    EXPECT_TRUE(dropdown->isOpen());

    TouchInjector::tapAt(CGPointMake(187, 600));
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosing);
    environment.fastForwardBy(0.34);
    EXPECT_EQ(delegate->taps, 0);
    environment.fastForwardBy(0.02);
    EXPECT_EQ(delegate->taps, 1);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosed);

    // A delegate gone by the time the menu has closed is not told.
    ASSERT_NO_FATAL_FAILURE(open());
    TouchInjector::tapAt(CGPointMake(187, 600));
    delegate.reset();
    environment.fastForwardBy(0.35);
    EXPECT_EQ(dropdown->currentState(), DMDropdownViewStateClosed);
}

TEST_F(DMDropdownViewTest, OpenMenuOnScreen) {
    content->setBackgroundColor(UIColor::blueColor());
    ASSERT_NO_FATAL_FAILURE(open());
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    auto at = [&](double x, double y) {
        return shot->cgImage()->pixelAt(static_cast<size_t>(x), static_cast<size_t>(y));
    };
    // The content from one point below the area's top; the panel's white top point is
    // above the edge, clipped away, so the title bar above shows the screen's white.
    EXPECT_EQ(at(300, 63), 0xffffffffu);
    EXPECT_EQ(at(300, 65), 0xff0000ffu);
    EXPECT_EQ(at(300, 503), 0xff0000ffu);
    // Below the panel: white under a faint grey at 0.2, then black at 0.5.
    uint32_t dimmed = at(300, 600);
    EXPECT_NEAR(static_cast<int>(dimmed & 0xff), 125, 2);
    EXPECT_EQ(dimmed >> 24, 0xffu);
}
} // namespace
