#include "harness/TouchInjector.h"
#include "platform/foundation/EventLog.h"
#include "platform/uikit/AlertPanelView.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
class AlertTest : public ::testing::Test {
protected:
    void SetUp() override {
        EventLog::clear();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }
    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<UIViewController> root = UIViewController::init();
};

TEST_F(AlertTest, ControllerRunsTheTappedActionAfterItIsDismissed) {
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
        "Remind info", "You can choose 5 photos at most", UIAlertControllerStyle::Alert);
    std::vector<std::string> tapped;
    for (const char* title : {"cancel", "OK"}) {
        alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
            title, UIAlertActionStyle::Default,
            [&tapped](const auto& action) { tapped.push_back(action->title()); }));
    }
    root->presentViewControllerAnimatedCompletion(alert, true, nullptr);
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    auto entries = EventLog::entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "alert: Remind info: You can choose 5 photos at most [cancel | OK]");
    // The screen under an alert stays on screen.
    EXPECT_TRUE(root->isAppeared());

    EXPECT_FALSE(alert->tapActionWithTitle("Nope"));
    EXPECT_TRUE(alert->tapActionWithTitle("OK"));
    EXPECT_FALSE(alert->tapActionWithTitle("cancel")); // answered once only
    EXPECT_TRUE(tapped.empty());
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    EXPECT_EQ(tapped, std::vector<std::string>{"OK"});
    EXPECT_EQ(root->presentedViewController(), nullptr);
}

TEST_F(AlertTest, AlertIsDrawnOverTheScreen) {
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
        "", "You disabled access", UIAlertControllerStyle::Alert);
    alert->addAction(
        UIAlertAction::actionWithTitleStyleHandler("OK", UIAlertActionStyle::Default, nullptr));
    root->presentViewControllerAnimatedCompletion(alert, false, nullptr);
    auto panel = std::dynamic_pointer_cast<AlertPanelView>(alert->view());
    ASSERT_TRUE(panel);
    CGRect box = panel->panelRect();
    EXPECT_EQ(box.size.width, 270);
    EXPECT_NEAR(CGRectGetMidY(box), 333.5, 0.5);
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    uint32_t inside = shot->cgImage()->pixelAt(static_cast<size_t>(box.origin.x + 5),
                                               static_cast<size_t>(CGRectGetMidY(box)));
    uint32_t outside = shot->cgImage()->pixelAt(5, 5);
    EXPECT_GT(inside & 0xff, outside & 0xff); // the panel is lighter than the dimmed screen

    // A tap on the drawn button answers like the button's title.
    CGRect button = panel->buttonRects().at(0);
    EXPECT_TRUE(panel->tapAtPoint(CGPointMake(CGRectGetMidX(button), CGRectGetMidY(button))));
    EXPECT_FALSE(panel->tapAtPoint(CGPointMake(5, 5)));
}

TEST_F(AlertTest, ActionSheetSetsCancelApartAtTheBottom) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, UIAlertActionStyle>> actions;
        std::vector<std::string> topDown; // the buttons from the top of the screen down
        bool cancelApart;
    } cases[] = {
        {"cancel added first",
         {{"Cancel", UIAlertActionStyle::Cancel},
          {"Copy", UIAlertActionStyle::Default},
          {"Save", UIAlertActionStyle::Default},
          {"Share", UIAlertActionStyle::Default}},
         {"Copy", "Save", "Share", "Cancel"},
         true},
        {"cancel added in the middle",
         {{"Copy", UIAlertActionStyle::Default},
          {"Cancel", UIAlertActionStyle::Cancel},
          {"Delete", UIAlertActionStyle::Destructive}},
         {"Copy", "Delete", "Cancel"},
         true},
        {"only cancel", {{"Cancel", UIAlertActionStyle::Cancel}}, {"Cancel"}, true},
        {"no cancel",
         {{"Copy", UIAlertActionStyle::Default}, {"Save", UIAlertActionStyle::Default}},
         {"Copy", "Save"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto sheet = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
            "", "", UIAlertControllerStyle::ActionSheet);
        std::string tapped;
        for (const auto& [title, style] : c.actions) {
            sheet->addAction(UIAlertAction::actionWithTitleStyleHandler(
                title, style, [&tapped](const auto& action) { tapped = action->title(); }));
        }
        root->presentViewControllerAnimatedCompletion(sheet, false, nullptr);
        auto panel = std::dynamic_pointer_cast<AlertPanelView>(sheet->view());
        ASSERT_TRUE(panel);

        std::vector<std::pair<double, std::string>> byTop;
        for (const auto& [title, style] : c.actions) {
            auto rect = panel->buttonRectForTitle(title);
            ASSERT_TRUE(rect);
            EXPECT_EQ(rect->size.width, 375 - 16);
            byTop.emplace_back(rect->origin.y, title);
        }
        std::sort(byTop.begin(), byTop.end());
        std::vector<std::string> topDown;
        for (const auto& entry : byTop) {
            topDown.push_back(entry.second);
        }
        EXPECT_EQ(topDown, c.topDown);

        // The last button ends a margin above the screen's bottom; a set-apart cancel button
        // lies below the panel, a margin apart, with the dimmed screen showing between.
        const CGRect last = *panel->buttonRectForTitle(c.topDown.back());
        EXPECT_EQ(CGRectGetMaxY(last), 667 - 8);
        const CGRect box = panel->panelRect();
        EXPECT_EQ(CGRectContainsRect(box, last), !c.cancelApart);
        auto shot = ViewRenderer::snapshotWindow(*window, 1);
        const auto shade = [&](double x, double y) {
            return shot->cgImage()->pixelAt(static_cast<size_t>(x), static_cast<size_t>(y)) & 0xff;
        };
        if (c.cancelApart) {
            EXPECT_EQ(CGRectGetMinY(last) - CGRectGetMaxY(box), 8);
            EXPECT_LT(shade(187, CGRectGetMinY(last) - 4), shade(187, CGRectGetMinY(last) + 4));
        }
        // Nothing is drawn beyond the rounded corners (no hairline over the top one).
        const CGRect top = *panel->buttonRectForTitle(c.topDown.front());
        EXPECT_EQ(shade(CGRectGetMinX(top) + 1, CGRectGetMinY(top)), shade(4, 4));

        // A tap on the lowest button, where it is drawn, answers with it.
        const CGRect target = *panel->buttonRectForTitle(c.topDown.back());
        TouchInjector::tapAt(CGPointMake(CGRectGetMidX(target), CGRectGetMidY(target)));
        environment.fastForwardBy(UIViewController::kTransitionDuration);
        EXPECT_EQ(tapped, c.topDown.back());
        EXPECT_EQ(root->presentedViewController(), nullptr);
    }
}

TEST_F(AlertTest, AFingerOnTheButtonAnswersTheAlert) {
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
        "Remind info", "", UIAlertControllerStyle::Alert);
    bool cancelled = false;
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
        "cancel", UIAlertActionStyle::Cancel, [&](const auto&) { cancelled = true; }));
    root->presentViewControllerAnimatedCompletion(alert, false, nullptr);
    auto panel = std::dynamic_pointer_cast<AlertPanelView>(alert->view());
    CGRect button = panel->buttonRects().at(0);
    TouchInjector::tapAt(CGPointMake(CGRectGetMidX(button), CGRectGetMidY(button)));
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    EXPECT_TRUE(cancelled);
}

struct Recorder : UIAlertViewDelegate {
    std::vector<std::string> calls;
    void alertViewClickedButtonAtIndex(UIAlertView&, long index) override {
        calls.push_back("clicked " + std::to_string(index));
    }
    void alertViewWillDismissWithButtonIndex(UIAlertView&, long index) override {
        calls.push_back("will " + std::to_string(index));
    }
    void alertViewDidDismissWithButtonIndex(UIAlertView& alert, long index) override {
        calls.push_back("did " + std::to_string(index) + (alert.isVisible() ? " shown" : ""));
    }
};

TEST_F(AlertTest, ClassicAlertReportsTheButtonIndexToItsDelegate) {
    auto recorder = std::make_shared<Recorder>();
    auto alert = UIAlertView::initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
        "Rate", "Please", recorder, "", {"Rate It Now"});
    alert->setCancelButtonIndex(alert->addButtonWithTitle("No, Thanks"));
    EXPECT_EQ(alert->numberOfButtons(), 2);
    EXPECT_EQ(alert->cancelButtonIndex(), 1);
    alert->show();
    alert.reset(); // the window keeps it while shown
    EXPECT_EQ(EventLog::entries().back(), "alert: Rate: Please [Rate It Now | No, Thanks]");
    auto shown = std::dynamic_pointer_cast<UIAlertView>(window->subviews().back());
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->tapButtonWithTitle("No, Thanks"));
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"clicked 1", "will 1", "did 1"}));
    EXPECT_FALSE(shown->isVisible());
    EXPECT_FALSE(shown->tapButtonWithTitle("Rate It Now"));
}
} // namespace
