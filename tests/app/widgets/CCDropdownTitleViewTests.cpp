#include "app/widgets/CCDropdownTitleView.h"
#include "harness/TouchInjector.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace {
class CCDropdownTitleViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
        // The picker's bar colour.
        screen->view()->setBackgroundColor(
            UIColor::colorWithRedGreenBlueAlpha(0x35 / 255.0, 0xc5 / 255.0, 0xd2 / 255.0, 1));
        title->setFrame(CGRectMake(60, 20, 200, 44));
        screen->view()->addSubview(title);
    }
    double fittedWidth() const { return title->titleLabel()->sizeThatFits(CGSizeMake(0, 0)).width; }

    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 200));
    std::shared_ptr<UIViewController> screen = UIViewController::init();
    std::shared_ptr<CCDropdownTitleView> title = CCDropdownTitleView::titleView();
};

TEST_F(CCDropdownTitleViewTest, PartsAndSize) {
    auto fresh = CCDropdownTitleView::titleView();
    EXPECT_EQ(fresh->frame(), CGRectMake(0, 0, 200, 44));
    EXPECT_TRUE(fresh->titleLabel()->text().empty());
    EXPECT_EQ(fresh->titleLabel()->numberOfLines(), 1);
    EXPECT_GT(fresh->titleLabel()->minimumScaleFactor(), 0);
    ASSERT_TRUE(fresh->imageView()->image());
    EXPECT_EQ(fresh->imageView()->image()->size(), CGSizeMake(14, 8));
    // The button lies over everything else and covers the control.
    ASSERT_EQ(fresh->subviews().back(), fresh->titleButton());
    EXPECT_EQ(fresh->titleButton()->frame(), fresh->bounds());
}

TEST_F(CCDropdownTitleViewTest, TitleAndArrowCentredTogether) {
    title->setTitle("Album");
    title->layoutIfNeeded();
    const double w = fittedWidth();
    ASSERT_GT(w, 20);
    // The title, a 5-point gap and the 14-point arrow, centred as one.
    const double left = (200 - w - 5 - 14) / 2;
    EXPECT_EQ(title->titleLabel()->frame(), CGRectMake(left, 0, w, 44));
    EXPECT_EQ(title->imageView()->frame(), CGRectMake(left + w + 5, 18, 14, 8));
    EXPECT_TRUE(title->titleLabel()->adjustsFontSizeToFitWidth());

    // The bar narrows the control: the button follows, the pair is centred again.
    title->setFrame(CGRectMake(60, 20, 150, 44));
    title->layoutIfNeeded();
    EXPECT_EQ(title->titleButton()->frame(), CGRectMake(0, 0, 150, 44));
    EXPECT_EQ(title->titleLabel()->frame().origin.x, (150 - w - 5 - 14) / 2);
}

TEST_F(CCDropdownTitleViewTest, LongTitleShrinksOnOneLineBesideTheArrow) {
    title->setTitle("Pictures from the long summer holiday by the sea");
    title->layoutIfNeeded();
    ASSERT_GT(fittedWidth(), 200);
    // All the room the arrow leaves, and no more.
    EXPECT_EQ(title->titleLabel()->frame(), CGRectMake(0, 0, 181, 44));
    EXPECT_EQ(title->imageView()->frame().origin.x, 186);
    EXPECT_EQ(title->titleLabel()->numberOfLines(), 1);
    EXPECT_TRUE(title->titleLabel()->adjustsFontSizeToFitWidth());
}

TEST_F(CCDropdownTitleViewTest, DrawsTheArrowAndTakesTapsByItsTitle) {
    title->setTitle("Album");
    auto shot = ViewRenderer::snapshotWindow(*window, 2);
    // The chevron's white strokes inside the arrow's place.
    CGRect arrow = title->imageView()->convertRectToView(title->imageView()->bounds(), nullptr);
    int white = 0;
    for (double y = arrow.origin.y; y < CGRectGetMaxY(arrow); y += 0.5) {
        for (double x = arrow.origin.x; x < CGRectGetMaxX(arrow); x += 0.5) {
            uint32_t p =
                shot->cgImage()->pixelAt(static_cast<size_t>(x * 2), static_cast<size_t>(y * 2));
            white += (p & 0xff) > 0xf0 && (p >> 16 & 0xff) > 0xf0 ? 1 : 0;
        }
    }
    EXPECT_GT(white, 20);

    auto found = TouchInjector::viewsWithLabel(window, "Album");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], title->titleButton());
    int taps = 0;
    title->titleButton()->addTargetActionForControlEvents(
        title, [&](UIControl&) { ++taps; }, UIControlEventTouchUpInside);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*found[0]));
    EXPECT_EQ(taps, 1);
}
} // namespace
