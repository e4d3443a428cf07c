#include "harness/TouchInjector.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
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
// Where its bars stand, as a screen with its own bar answers.
class TopAttached : public UINavigationBarDelegate {
public:
    UIBarPosition positionForBar(const UIView&) override { return UIBarPosition::TopAttached; }
};

TEST_F(UINavigationBarTest, AStandaloneBarPushesAndPopsItsOwnItems) {
    navigation->setNavigationBarHidden(true);
    auto bar = UINavigationBar::initWithFrame(CGRectMake(0, 20, 375, 44));
    root->view()->addSubview(bar);
    auto first = std::make_shared<UINavigationItem>();
    first->setTitle("Edit");
    auto second = std::make_shared<UINavigationItem>();
    second->setTitle("Filter");
    bar->pushNavigationItemAnimated(first, false);
    bar->pushNavigationItemAnimated(second, true);
    bar->pushNavigationItemAnimated(second, false); // refused: already on the stack
    bar->pushNavigationItemAnimated(nullptr, false);
    EXPECT_EQ(bar->items(), (std::vector{first, second}));
    EXPECT_EQ(bar->topItem(), second);
    EXPECT_EQ(bar->backItem(), first);

    // Its back button pops the top item; the item's changes show while it is on top.
    window->layoutIfNeeded();
    auto back = TouchInjector::viewsWithLabel(window, "Edit");
    ASSERT_EQ(back.size(), 1u);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*back.front()));
    EXPECT_EQ(bar->items(), (std::vector{first}));
    first->setTitle("Photo");
    window->layoutIfNeeded();
    auto title = std::dynamic_pointer_cast<UILabel>(bar->subviews().front());
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Photo");

    EXPECT_EQ(bar->popNavigationItemAnimated(false), first);
    EXPECT_EQ(bar->popNavigationItemAnimated(false), nullptr);
    window->layoutIfNeeded();
    EXPECT_TRUE(bar->subviews().empty());
}

TEST_F(UINavigationBarTest, OnlyABarAttachedToTheTopFillsTheStatusBar) {
    auto bar = UINavigationBar::initWithFrame(CGRectMake(0, 20, 375, 44));
    root->view()->addSubview(bar);
    navigation->setNavigationBarHidden(true);
    auto statusArea = [&] {
        return ViewRenderer::snapshotWindow(*window, 1)->cgImage()->pixelAt(100, 10);
    };
    EXPECT_EQ(bar->barPosition(), UIBarPosition::Any);
    const uint32_t uncovered = statusArea();
    auto delegate = std::make_shared<TopAttached>();
    bar->setDelegate(delegate);
    EXPECT_EQ(bar->barPosition(), UIBarPosition::TopAttached);
    EXPECT_NE(statusArea(), uncovered);
    // A navigation controller's bar is attached to the top.
    EXPECT_EQ(navigation->navigationBar()->barPosition(), UIBarPosition::TopAttached);
}

TEST_F(UINavigationBarTest, SystemItemsSayDoneInBoldAndCancelPlain) {
    std::vector<std::string> tapped;
    auto item = [&](UIBarButtonSystemItem system) {
        return UIBarButtonItem::initWithBarButtonSystemItemTargetAction(
            system, root, [&](UIBarButtonItem& button) { tapped.push_back(button.title()); });
    };
    root->navigationItem()->setLeftBarButtonItem(item(UIBarButtonSystemItem::Cancel));
    root->navigationItem()->setRightBarButtonItem(item(UIBarButtonSystemItem::Done));
    EXPECT_EQ(root->navigationItem()->rightBarButtonItem()->style(), UIBarButtonItemStyle::Done);
    window->layoutIfNeeded();
    struct Case {
        const char* label;
        const char* font;
    };
    for (const Case& c : {Case{"Cancel", "DejaVuSans"}, Case{"Done", "DejaVuSans-Bold"}}) {
        auto views = TouchInjector::viewsWithLabel(window, c.label);
        ASSERT_EQ(views.size(), 1u) << c.label;
        auto button = std::dynamic_pointer_cast<UIButton>(views.front());
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->titleLabel()->font()->fontName(), c.font);
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*button));
    }
    EXPECT_EQ(tapped, (std::vector<std::string>{"Cancel", "Done"}));
}
} // namespace
