#include "app/BaseViewController.h"
#include "app/RZCommonConfig.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"
#include "services/advertise/CVAdvertiseController.h"
#include "services/rateprompt/RatePrompt.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace {
// An ad controller whose banners come from the test; it counts interstitial requests.
class FakeAdvertiser : public CVAdvertiseController {
public:
    int interstitialChecks = 0;
    uint64_t ratingEventsAtCheck = 0;
    bool showInterstitialLoadingState() override {
        ++interstitialChecks;
        ratingEventsAtCheck = RatePrompt::sharedInstance()->eventCount();
        return false;
    }
    void deliverBanner(const std::shared_ptr<UIView>& banner) { bannerDidArrive(banner); }
    void deliverNativeAd(const std::shared_ptr<UIView>& view) { nativeExpressDidArrive(view); }
};

class Screen : public BaseViewController {
public:
    float offset = 0;
    bool wantsBanner = true;
    std::vector<UIEdgeInsets> insets;
    float adViewBottomOffsetFromSuperViewBottom() const override { return offset; }
    bool needLoadBannerAdView() const override { return wantsBanner; }
    void setAdEdgeInsets(const UIEdgeInsets& value) override { insets.push_back(value); }
};

class BaseViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CVAdvertiseController::installShareInstance(advertiser);
        window->makeKeyAndVisible();
    }
    void TearDown() override { CVAdvertiseController::installShareInstance(nullptr); }

    std::shared_ptr<Screen> show(float offset = 0) {
        auto screen = std::make_shared<Screen>();
        screen->offset = offset;
        window->setRootViewController(screen);
        return screen;
    }
    static void appearAgain(const std::shared_ptr<UIViewController>& screen) {
        screen->beginAppearanceTransition(false, false);
        screen->endAppearanceTransition();
        screen->beginAppearanceTransition(true, false);
        screen->endAppearanceTransition();
    }
    static std::shared_ptr<UIView> banner(double height) {
        return UIView::initWithFrame(CGRectMake(0, 0, 320, height));
    }
    int64_t count() {
        return NSUserDefaults::standardUserDefaults()->integerForKey(
            kViewAppearBeforeFullscreenAdKey);
    }

    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<FakeAdvertiser> advertiser = std::make_shared<FakeAdvertiser>();
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
};

TEST_F(BaseViewControllerTest, InterstitialIsAskedForOnThe21stAppearance) {
    auto screen = show();
    for (int appearance = 2; appearance <= 20; ++appearance) {
        appearAgain(screen);
    }
    EXPECT_EQ(count(), 20);
    EXPECT_EQ(advertiser->interstitialChecks, 0);
    appearAgain(screen); // the 21st
    EXPECT_EQ(advertiser->interstitialChecks, 1);
    EXPECT_EQ(count(), 0);
    for (int appearance = 22; appearance <= 41; ++appearance) {
        appearAgain(screen);
    }
    EXPECT_EQ(advertiser->interstitialChecks, 1);
    appearAgain(screen); // the 42nd
    EXPECT_EQ(advertiser->interstitialChecks, 2);
}

TEST_F(BaseViewControllerTest, TheCountIsSharedBetweenScreens) {
    auto menu = show();
    for (int i = 1; i < 10; ++i) {
        appearAgain(menu);
    }
    auto picker = show(); // the 11th appearance
    for (int i = 12; i < 21; ++i) {
        appearAgain(picker);
    }
    EXPECT_EQ(advertiser->interstitialChecks, 0);
    appearAgain(picker); // the picker's 11th, the 21st in all
    EXPECT_EQ(advertiser->interstitialChecks, 1);
}

TEST_F(BaseViewControllerTest, TheCountIsKeptAcrossLaunches) {
    auto menu = show();
    for (int i = 1; i < 10; ++i) {
        appearAgain(menu);
    }
    NSUserDefaults::standardUserDefaults()->synchronize();
    home.relaunchDefaults();
    EXPECT_EQ(count(), 10);
}

TEST_F(BaseViewControllerTest, EachAppearanceLogsOneRatingEventBeforeTheInterstitialCheck) {
    uint64_t before = RatePrompt::sharedInstance()->eventCount();
    auto screen = show();
    appearAgain(screen);
    EXPECT_EQ(RatePrompt::sharedInstance()->eventCount(), before + 2);
    NSUserDefaults::standardUserDefaults()->setIntegerForKey(20, kViewAppearBeforeFullscreenAdKey);
    appearAgain(screen);
    EXPECT_EQ(advertiser->interstitialChecks, 1);
    EXPECT_EQ(advertiser->ratingEventsAtCheck, before + 3);
}

TEST_F(BaseViewControllerTest, BannerSitsAtTheBottomRaisedByTheOffset) {
    auto picker = show(150);
    advertiser->deliverBanner(banner(50));
    ASSERT_TRUE(picker->bannerView());
    EXPECT_EQ(picker->bannerView()->superview(), picker->view());
    EXPECT_EQ(picker->bannerView()->frame(), CGRectMake(0, 667 - 150 - 50, 375, 50));
    EXPECT_EQ(picker->insets.back(), UIEdgeInsetsMake(0, 0, 50, 0));
    // The first banner arrives without a transition.
    EXPECT_EQ(picker->bannerView()->layer()->animationForKey("fadeMoveIn"), nullptr);

    auto first = picker->bannerView();
    advertiser->deliverBanner(banner(50));
    EXPECT_EQ(picker->bannerView(), first); // the same container, new contents
    EXPECT_EQ(first->subviews().size(), 1u);
    auto transition = first->layer()->animationForKey("fadeMoveIn");
    ASSERT_TRUE(transition);
    EXPECT_EQ(transition->duration(), 0.25);

    RZCommonConfig::shareInstance()->setEnableBannerViewAnimation(false);
    environment.fastForwardBy(1);
    advertiser->deliverBanner(banner(50));
    EXPECT_EQ(first->layer()->animationForKey("fadeMoveIn"), nullptr);
    RZCommonConfig::shareInstance()->setEnableBannerViewAnimation(true);
}

TEST_F(BaseViewControllerTest, ABannerOnlyReachesTheScreenShownLast) {
    auto menu = show();
    auto settings = show();
    advertiser->deliverBanner(banner(50));
    EXPECT_FALSE(menu->bannerView());
    EXPECT_TRUE(settings->bannerView());
    EXPECT_EQ(settings->bannerView()->frame().origin.y, 617);
}

TEST_F(BaseViewControllerTest, AScreenWithoutBannersMakesNoContainer) {
    auto screen = std::make_shared<Screen>();
    screen->wantsBanner = false;
    window->setRootViewController(screen);
    advertiser->deliverBanner(banner(50));
    EXPECT_FALSE(screen->bannerView());
    EXPECT_TRUE(screen->insets.empty());
}

TEST_F(BaseViewControllerTest, NativeAdReplacesThePreviousOne) {
    auto screen = show();
    screen->achieveNativeAdView();
    auto first = UIView::initWithFrame(CGRectMake(10, 10, 300, 100));
    advertiser->deliverNativeAd(first);
    auto held = screen->nativeAdView();
    ASSERT_TRUE(held);
    EXPECT_EQ(held->frame().origin, CGPointMake(0, 0));
    screen->view()->addSubview(held);
    advertiser->deliverNativeAd(UIView::initWithFrame(CGRectMake(0, 0, 300, 80)));
    EXPECT_EQ(held->superview(), nullptr);
    EXPECT_NE(screen->nativeAdView(), held);
}
} // namespace
