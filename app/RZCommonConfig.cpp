#include "app/RZCommonConfig.h"

#include "app/widgets/OVProgressHUD.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/WeakAction.h"
#include "services/advertise/CVAdvertiseController.h"
#include "services/rateprompt/RatePrompt.h"

namespace {
struct SharedConfig {
    std::mutex mutex;
    std::shared_ptr<RZCommonConfig> instance;
};

SharedConfig& sharedConfig() {
    static SharedConfig shared;
    return shared;
}
} // namespace

std::shared_ptr<RZCommonConfig> RZCommonConfig::shareInstance() {
    SharedConfig& shared = sharedConfig();
    std::lock_guard lock(shared.mutex);
    if (!shared.instance) {
        shared.instance = make<RZCommonConfig>();
    }
    return shared.instance;
}

void RZCommonConfig::resetForTesting() {
    std::shared_ptr<RZCommonConfig> dropped;
    SharedConfig& shared = sharedConfig();
    std::lock_guard lock(shared.mutex);
    dropped.swap(shared.instance);
}

void RZCommonConfig::initRateAppConfig() {
    auto prompt = RatePrompt::sharedInstance();
    if (!liteAppId_.empty()) {
        prompt->setAppStoreID(static_cast<uint64_t>(NSString::integerValue(liteAppId_)));
    }
    prompt->setDelegate(self<RZCommonConfig>());
    prompt->setEventsUntilPrompt(static_cast<uint64_t>(viewAppearUntilPromptRate_));
    prompt->setDaysUntilPrompt(0.0f);
    prompt->setUsesUntilPrompt(2);
    prompt->setPromptAtLaunch(false);
    prompt->setRemindButtonLabel("");
}

void RZCommonConfig::initAdvertise() {
    CVAdvertiseController::shareInstance()->initAdvertise();
    const auto config = self<RZCommonConfig>();
    NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
        config, weakAction(config, &RZCommonConfig::onAppDidBecomeActiveNotification),
        UIApplicationDidBecomeActiveNotification, nullptr);
}

void RZCommonConfig::setRatedStateForThisVersion(bool rated) {
    RatePrompt::sharedInstance()->setRatedThisVersion(rated);
}

void RZCommonConfig::openRatingsPageInAppStore() {
    RatePrompt::sharedInstance()->openRatingsPageInAppStore();
    setRatedStateForThisVersion(true);
}

bool RZCommonConfig::isThisVersionRated() const {
    return RatePrompt::sharedInstance()->ratedThisVersion();
}

bool RZCommonConfig::isAnyVersionRated() const {
    return RatePrompt::sharedInstance()->ratedAnyVersion();
}

void RZCommonConfig::promptForRating() {
    RatePrompt::sharedInstance()->promptForRating();
}

std::string RZCommonConfig::currentAppID() const {
    return NSString::stringWithFormat("%lu", RatePrompt::sharedInstance()->appStoreID());
}

std::string RZCommonConfig::appStoreTrackName() const {
    return RatePrompt::sharedInstance()->appStoreTrackName().value_or("");
}

std::string RZCommonConfig::applicationName() const {
    return RatePrompt::sharedInstance()->applicationName();
}

bool RZCommonConfig::isCurrentVersionOnline() const {
    auto defaults = NSUserDefaults::standardUserDefaults();
    if (defaults->boolForKey(kCurrVersionShangXianKey)) {
        return true;
    }
    auto prompt = RatePrompt::sharedInstance();
    const auto& latest = prompt->latestVersion();
    if (!latest || latest->empty()) {
        return false;
    }
    if (NSString::compareOptions(prompt->applicationVersion(), *latest, NSNumericSearch) ==
        NSOrderedDescending) {
        return false;
    }
    defaults->setBoolForKey(true, kCurrVersionShangXianKey);
    defaults->synchronize();
    return true;
}

void RZCommonConfig::showInterstitialAdInViewController(
    const std::shared_ptr<UIViewController>& controller) {
    auto advertise = CVAdvertiseController::shareInstance();
    if (advertise->showInterstitialLoadingState()) {
        advertise->showInterstitial(controller);
    }
}

bool RZCommonConfig::isInterstitialAdReady() const {
    return CVAdvertiseController::shareInstance()->showInterstitialLoadingState();
}

void RZCommonConfig::gotoBuyProVersion() {
    UIApplication::sharedApplication()->openURL(NSString::stringWithFormat(
        std::string(RatePrompt::kStoreLinkPrefix) + "/app/id%@", proAppId_));
}

void RZCommonConfig::showTipViewWithMessage(const std::string& message) {
    auto application = UIApplication::sharedApplication();
    auto window = application->delegate() ? application->delegate()->window() : nullptr;
    auto top = window ? window->rootViewController() : nullptr;
    while (top && top->presentedViewController()) {
        top = top->presentedViewController();
    }
    if (!top) {
        return;
    }
    auto hud = OVProgressHUD::showHUDAddedToAnimated(top->view(), true);
    hud->setLabelText(message);
    hud->setMode(OVProgressHUDModeText);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hideAfterDelay(true, 1.0);
    EventLog::record("tip", message);
}

void RZCommonConfig::onAppDidBecomeActiveNotification(const NSNotification&) {
    if (shouldShowFullscreenAdFromBackgroundToForeground_) {
        showInterstitialAdInViewController(nullptr);
    }
}

void RZCommonConfig::RatePromptUserDidDeclineToRateApp() {
    auto prompt = RatePrompt::sharedInstance();
    prompt->setEventCount(0);
    prompt->setUsesCount(0);
    prompt->setDeclinedThisVersion(false);
}
