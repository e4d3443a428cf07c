#include "app/AppDelegate.h"
#include "app/MainViewController.h"
#include "app/RZCommonConfig.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"
#include "services/rateprompt/RatePrompt.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace {
TEST(AppDelegate, LookingTheClassUpFillsTheConfiguration) {
    TaskEnvironment environment;
    TestHome home;
    EXPECT_EQ(NSStringFromClass("AppDelegate"), "AppDelegate");
    auto config = RZCommonConfig::shareInstance();
    EXPECT_FALSE(config->liteAppId().empty());
    EXPECT_FALSE(config->proAppId().empty());
    EXPECT_EQ(config->adTestDevices().size(), 2u);
    EXPECT_NE(config->vazerBannerAdID().find('/'), std::string::npos);
    // The rating settings went to the rating prompt.
    EXPECT_EQ(RatePrompt::sharedInstance()->usesUntilPrompt(), 2u);
    EXPECT_EQ(RatePrompt::sharedInstance()->appStoreID(),
              static_cast<uint64_t>(std::stoull(config->liteAppId())));
}

TEST(AppDelegate, LaunchSeedsOnlyAbsentKeysAndShowsTheMenu) {
    TaskEnvironment environment;
    TestHome home;
    NSUserDefaults::standardUserDefaults()->setObjectForKey("5", kBackGrandSelectedKey);
    auto delegate = std::make_shared<AppDelegate>();
    EXPECT_TRUE(delegate->applicationDidFinishLaunchingWithOptions(
        *UIApplication::sharedApplication(), {}));
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults->stringForKey(kBackGrandSelectedKey), "5");
    EXPECT_EQ(defaults->stringForKey(kBackImageSelectedKey), "nothing");

    auto window = delegate->window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(window->bounds(), CGRectMake(0, 0, 375, 667));
    auto navigation =
        std::dynamic_pointer_cast<UINavigationController>(window->rootViewController());
    ASSERT_TRUE(navigation);
    EXPECT_TRUE(std::dynamic_pointer_cast<MainViewController>(navigation->topViewController()));
}
} // namespace
