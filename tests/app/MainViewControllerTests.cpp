#include "app/ImagePickerViewController.h"
#include "app/MainViewController.h"
#include "app/SettingsViewController.h"
#include "harness/TouchInjector.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
class MainViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override { show(); }
    void TearDown() override { UIScreen::configureMainScreen(CGSizeMake(375, 667), 2); }

    void show() {
        menu = MainViewController::init();
        navigation = UINavigationController::initWithRootViewController(menu);
        window = UIWindow::initWithFrame(UIScreen::mainScreen()->bounds());
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }
    std::vector<std::shared_ptr<UIButton>> buttons() const {
        std::vector<std::shared_ptr<UIButton>> found;
        for (const auto& view : menu->backImageView()->subviews()) {
            if (auto button = std::dynamic_pointer_cast<UIButton>(view)) {
                found.push_back(button);
            }
        }
        return found;
    }
    std::vector<std::shared_ptr<UILabel>> captions() const {
        std::vector<std::shared_ptr<UILabel>> found;
        for (const auto& view : menu->backImageView()->subviews()) {
            if (auto label = std::dynamic_pointer_cast<UILabel>(view)) {
                found.push_back(label);
            }
        }
        return found;
    }
    void tapButton(size_t index) {
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*buttons().at(index)));
    }
    std::shared_ptr<UIViewController> presentedRoot() const {
        auto presented = std::dynamic_pointer_cast<UINavigationController>(
            navigation->presentedViewController());
        return presented ? presented->topViewController() : navigation->presentedViewController();
    }

    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    TestHome home;
    std::shared_ptr<MainViewController> menu;
    std::shared_ptr<UINavigationController> navigation;
    std::shared_ptr<UIWindow> window;
};

TEST_F(MainViewControllerTest, LayoutOnASmallScreen) {
    UIScreen::configureMainScreen(CGSizeMake(320, 568), 2);
    show();
    double top = 568 / 5.5;
    auto all = buttons();
    ASSERT_EQ(all.size(), 3u);
    const long tags[] = {1, 2, 0};
    for (size_t i = 0; i < 3; ++i) {
        CGRect frame = all[i]->frame();
        EXPECT_EQ(frame.origin.x, 110);
        EXPECT_NEAR(frame.origin.y, top + 130.0 * static_cast<double>(i), 1e-9);
        EXPECT_EQ(frame.size, CGSizeMake(100, 100));
        EXPECT_EQ(all[i]->tag(), tags[i]);
        EXPECT_EQ(all[i]->autoresizingMask(), 63u);
        EXPECT_TRUE(all[i]->currentImage());
    }
    auto labels = captions();
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_NEAR(labels[0]->frame().origin.y, 203.3, 0.05);
    EXPECT_NEAR(labels[2]->frame().origin.y, 463.3, 0.05);
    EXPECT_EQ(labels[1]->frame().size, CGSizeMake(320, 30));
    EXPECT_EQ(labels[0]->text(), "ZevaraDer");
    EXPECT_EQ(labels[2]->text(), "Settings");
    EXPECT_EQ(labels[0]->autoresizingMask(), 58u);
    EXPECT_TRUE(navigation->isNavigationBarHidden());
}

TEST_F(MainViewControllerTest, LayoutOnTheDefaultScreen) {
    double top = 667 / 5.5;
    auto all = buttons();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0]->frame().origin.x, 137.5);
    EXPECT_NEAR(all[2]->frame().origin.y, top + 260, 1e-9);
    EXPECT_NEAR(captions()[1]->frame().origin.y, top + 230, 1e-9);
    EXPECT_EQ(menu->backImageView()->frame(), CGRectMake(0, 0, 375, 667));
    EXPECT_TRUE(menu->backImageView()->isUserInteractionEnabled());
}

TEST_F(MainViewControllerTest, AskingGrantsAndOpensThePickerForTheTappedKind) {
    PHPhotoLibrary::configure(home.path(), PHAccessAnswer::Ask);
    ASSERT_EQ(PHPhotoLibrary::authorizationStatus(), PHAuthorizationStatus::NotDetermined);
    tapButton(1); // the free collage
    EXPECT_FALSE(navigation->presentedViewController());
    GlobalThreadPool::shared().runAllTasks();            // the answer comes on another queue...
    EXPECT_FALSE(navigation->presentedViewController()); // ...and is moved to the main one
    environment.runUntilIdle();
    auto picker = std::dynamic_pointer_cast<ImagePickerViewController>(presentedRoot());
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->mixStyle(), 1);
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    navigation->dismissViewControllerAnimatedCompletion(false, nullptr);

    // Already granted: the template button opens the picker at once.
    tapButton(0);
    picker = std::dynamic_pointer_cast<ImagePickerViewController>(presentedRoot());
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->mixStyle(), 0);
}

TEST_F(MainViewControllerTest, RefusedAccessShowsTheDenialAlertEveryTime) {
    PHPhotoLibrary::configure(home.path(), PHAccessAnswer::Denied);
    tapButton(0);
    environment.runUntilIdle();
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto alert = std::dynamic_pointer_cast<UIAlertController>(presentedRoot());
        ASSERT_TRUE(alert) << attempt;
        EXPECT_EQ(alert->title(), "");
        EXPECT_EQ(alert->message(),
                  "You disabled access, please go to Settings-> Privacy->Photos to set up access");
        ASSERT_EQ(alert->actions().size(), 1u);
        EXPECT_EQ(alert->actions()[0]->title(), "OK");
        environment.fastForwardBy(UIViewController::kTransitionDuration);
        alert->tapActionWithTitle("OK");
        environment.fastForwardBy(UIViewController::kTransitionDuration);
        EXPECT_FALSE(navigation->presentedViewController());
        tapButton(1); // denied is stored: no new question, the alert again
    }
}

TEST_F(MainViewControllerTest, AnAnswerTheHomeCannotKeepIsToldThenThePickerOpens) {
    PHPhotoLibrary::configure(home.path(), PHAccessAnswer::Ask);
    // Where the answer would be written, a folder: the home cannot keep it.
    std::filesystem::create_directories(home.path() + "/Library/PhotosAccess.plist/x");
    tapButton(0);
    environment.runUntilIdle();
    auto alert = std::dynamic_pointer_cast<UIAlertController>(presentedRoot());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Photo access could not be saved");
    EXPECT_NE(alert->message().find("asked again"), std::string::npos) << alert->message();
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    alert->tapActionWithTitle("OK");
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    environment.runUntilIdle();
    ASSERT_TRUE(std::dynamic_pointer_cast<ImagePickerViewController>(presentedRoot()))
        << "the answer holds for this run";
}

TEST_F(MainViewControllerTest, RoutingByStatus) {
    struct Case {
        PHAccessAnswer answer;
        bool askFirst; // the status is settled by a first question before the tap
        bool opensPicker;
    };
    const Case cases[] = {
        {PHAccessAnswer::Granted, false, true},     {PHAccessAnswer::Denied, false, false},
        {PHAccessAnswer::Restricted, false, false}, {PHAccessAnswer::Ask, false, true},
        {PHAccessAnswer::Granted, true, true},      {PHAccessAnswer::Denied, true, false},
        {PHAccessAnswer::Restricted, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.answer)) + (c.askFirst ? " asked" : ""));
        TestHome fresh;
        show();
        PHPhotoLibrary::configure(fresh.path(), c.answer);
        if (c.askFirst) {
            PHPhotoLibrary::requestAuthorization([](PHAuthorizationStatus) {});
            environment.runUntilIdle();
        }
        // Without a first question the tap asks; with one, the stored answer decides.
        EXPECT_EQ(PHPhotoLibrary::authorizationStatus() == PHAuthorizationStatus::NotDetermined,
                  !c.askFirst);
        tapButton(0);
        environment.runUntilIdle();
        auto shown = presentedRoot();
        EXPECT_EQ(std::dynamic_pointer_cast<ImagePickerViewController>(shown) != nullptr,
                  c.opensPicker);
        EXPECT_EQ(std::dynamic_pointer_cast<UIAlertController>(shown) != nullptr, !c.opensPicker);
    }
}

TEST_F(MainViewControllerTest, SettingsArePushedWithTheirBarAndPopBackToTheBarlessMenu) {
    tapButton(2);
    environment.fastForwardBy(UIViewController::kTransitionDuration);
    ASSERT_TRUE(std::dynamic_pointer_cast<SettingsViewController>(navigation->topViewController()));
    EXPECT_FALSE(navigation->isNavigationBarHidden());
    navigation->popViewControllerAnimated(false);
    EXPECT_TRUE(navigation->isNavigationBarHidden());
}
} // namespace
