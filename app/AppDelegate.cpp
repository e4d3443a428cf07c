#include "app/AppDelegate.h"

#include "app/MainViewController.h"
#include "app/RZCommonConfig.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"

void AppDelegate::initialize() {
    RZCommonConfig::shareInstance()->setAdTestDevices(
        {"5f0c7e2a9d4b41e8a3c6f1b2d7e09a45", "b81e4d6f2a7c40953e1d8f6a2c5b7e90"});
    RZCommonConfig::shareInstance()->setLiteAppId("1187402256");
    RZCommonConfig::shareInstance()->setProAppId("1187402671");
    RZCommonConfig::shareInstance()->setFadebackEmail("feedback@mixphotos.example");
    RZCommonConfig::shareInstance()->setArtistId("1187400013");
    RZCommonConfig::shareInstance()->setShouldShowMoreAppsInSettings(true);
    RZCommonConfig::shareInstance()->setVazerBannerAdID("pub-5830192746418207/3012784561");
    RZCommonConfig::shareInstance()->setVazerInterstitialAdID("pub-5830192746418207/4489517203");
    RZCommonConfig::shareInstance()->setVazerNativeExpressAdID("pub-5830192746418207/5966249845");
    RZCommonConfig::shareInstance()->initRateAppConfig();
}

bool AppDelegate::applicationDidFinishLaunchingWithOptions(UIApplication&,
                                                           const PlistValue::Dictionary&) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    if (defaults->objectForKey(kBackGrandSelectedKey).isNull()) {
        defaults->setObjectForKey("0", kBackGrandSelectedKey);
        defaults->synchronize();
    }
    if (defaults->objectForKey(kBackImageSelectedKey).isNull()) {
        defaults->setObjectForKey("nothing", kBackImageSelectedKey);
    }
    window_ = UIWindow::initWithFrame(UIScreen::mainScreen()->bounds());
    auto navigation =
        UINavigationController::initWithRootViewController(MainViewController::init());
    window_->setRootViewController(navigation);
    window_->makeKeyAndVisible();
    return true;
}
