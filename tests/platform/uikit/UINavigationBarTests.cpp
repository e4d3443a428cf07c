#include "harness/TouchInjector.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace {
class UINavigationBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        root->setTitle("Menu");
        navigation = UINavigationController::initWithRootViewController(root);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }
    // The bar's subviews after layout.
    std::vector<std::shared_ptr<UIView>> barContent() {
        window->layoutIfNeeded();
        return navigation->navigationBar()->subviews();
    }
    template <class T> std::shared_ptr<T> find() {
        for (const auto& view : barContent()) {
            if (auto match = std::dynamic_pointer_cast<T>(view)) {
                return match;
            }
        }
        return nullptr;
    }

    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<UIViewController> root = UIViewController::init();
    std::shared_ptr<UINavigationController> navigation;
};

TEST_F(UINavigationBarTest, ShowsTheTopTitleAndABackButtonThatPops) {
    auto bar = navigation->navigationBar();
    EXPECT_EQ(bar->superview(), navigation->view());
    EXPECT_EQ(bar->frame(), CGRectMake(0, 20, 375, 44));
    ASSERT_TRUE(find<UILabel>());
    EXPECT_EQ(find<UILabel>()->text(), "Menu");
    EXPECT_FALSE(find<UIButton>()); // no back button on the root

    auto settings = UIViewController::init();
    settings->setTitle("Settings");
    navigation->pushViewControllerAnimated(settings, false);
    EXPECT_EQ(find<UILabel>()->text(), "Settings");
    auto back = find<UIButton>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->currentTitle(), "\u2039 Menu");
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*back));
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    EXPECT_EQ(navigation->topViewController(), root);
}

TEST_F(UINavigationBarTest, TitleTextAttributesGiveTheTitlesFontAndColour) {
    auto bar = navigation->navigationBar();
    auto title = find<UILabel>();
    ASSERT_TRUE(title);
    EXPECT_EQ(title->font()->fontName(), "DejaVuSans-Bold");
    EXPECT_EQ(title->font()->pointSize(), 17);
    EXPECT_TRUE(CGColorEqualToColor(title->textColor()->cgColor(), CGColorMake(0, 0, 0, 1)));

    NSTextAttributes attributes;
    attributes.font = UIFont::systemFontOfSizeWeight(18, 0.1);
    attributes.foregroundColor = UIColor::whiteColor();
    bar->setTitleTextAttributes(attributes);
    title = find<UILabel>();
    ASSERT_TRUE(title);
    EXPECT_EQ(title->font(), attributes.font);
    EXPECT_EQ(title->textColor(), attributes.foregroundColor);
}

TEST_F(UINavigationBarTest, ItemsAndHiding) {
    int taps = 0;
    root->navigationItem()->setRightBarButtonItem(UIBarButtonItem::initWithTitleStyleTargetAction(
        "Make", UIBarButtonItemStyle::Plain, root, [&](UIBarButtonItem&) { ++taps; }));
    auto title = UIView::initWithFrame(CGRectMake(0, 0, 120, 30));
    root->navigationItem()->setTitleView(title);
    auto content = barContent();
    EXPECT_EQ(title->superview(), navigation->navigationBar());
    EXPECT_EQ(CGRectGetMidX(title->frame()), 187.5);
    auto make = find<UIButton>();
    ASSERT_TRUE(make);
    EXPECT_NEAR(CGRectGetMaxX(make->frame()), 367, 0.001);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*make));
    EXPECT_EQ(taps, 1);

    navigation->setNavigationBarHidden(true);
    EXPECT_TRUE(navigation->navigationBar()->isHidden());
}

TEST_F(UINavigationBarTest, AnItemEnabledOrDisabledWhileShownChangesItsButton) {
    int taps = 0;
    auto share = UIBarButtonItem::initWithTitleStyleTargetAction(
        "Share", UIBarButtonItemStyle::Plain, root, [&](UIBarButtonItem&) { ++taps; });
    root->navigationItem()->setRightBarButtonItem(share);
    ASSERT_TRUE(find<UIButton>());
    EXPECT_TRUE(find<UIButton>()->isEnabled());

    share->setEnabled(false);
    auto button = find<UIButton>();
    ASSERT_TRUE(button);
    EXPECT_FALSE(button->isEnabled()) << "the shown button follows its item";
    TouchInjector::tapAt(CGPointMake(CGRectGetMidX(button->frame()), 42));
    EXPECT_EQ(taps, 0);

    share->setEnabled(true);
    button = find<UIButton>();
    EXPECT_TRUE(button->isEnabled());
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*button));
    EXPECT_EQ(taps, 1);
}
} // namespace
