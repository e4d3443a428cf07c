// The app's configuration: store identifiers, the feedback address, ad unit identifiers
// and the pacing of ads and the rating prompt. Screens reach the rating prompt and the ad
// controller only through it.
#pragma once

#include "platform/base/NSObject.h"
#include "services/rateprompt/RatePromptDelegate.h"

#include <cstdint>
#include <string>
#include <vector>

class NSNotification;
class UIViewController;

class RZCommonConfig : public NSObject, public RatePromptDelegate {
    NS_OBJECT(RZCommonConfig)
public:
    // Safe from any thread: created once.
    static std::shared_ptr<RZCommonConfig> shareInstance();
    // Forgets the shared configuration; the next shareInstance() makes a new one (between
    // tests).
    static void resetForTesting();

    const std::string& liteAppId() const { return liteAppId_; }
    void setLiteAppId(std::string value) { liteAppId_ = std::move(value); }
    const std::string& proAppId() const { return proAppId_; }
    void setProAppId(std::string value) { proAppId_ = std::move(value); }
    const std::string& fadebackEmail() const { return fadebackEmail_; }
    void setFadebackEmail(std::string value) { fadebackEmail_ = std::move(value); }
    const std::string& artistId() const { return artistId_; }
    void setArtistId(std::string value) { artistId_ = std::move(value); }
    const std::vector<std::string>& adTestDevices() const { return adTestDevices_; }
    void setAdTestDevices(std::vector<std::string> value) { adTestDevices_ = std::move(value); }
    bool shouldShowMoreAppsInSettings() const { return shouldShowMoreAppsInSettings_; }
    void setShouldShowMoreAppsInSettings(bool value) { shouldShowMoreAppsInSettings_ = value; }
    bool shouldShowFullscreenAdFromBackgroundToForeground() const {
        return shouldShowFullscreenAdFromBackgroundToForeground_;
    }
    void setShouldShowFullscreenAdFromBackgroundToForeground(bool value) {
        shouldShowFullscreenAdFromBackgroundToForeground_ = value;
    }
    bool enableBannerViewAnimation() const { return enableBannerViewAnimation_; }
    void setEnableBannerViewAnimation(bool value) { enableBannerViewAnimation_ = value; }
    int64_t viewAppearUntilPromptRate() const { return viewAppearUntilPromptRate_; }
    void setViewAppearUntilPromptRate(int64_t value) { viewAppearUntilPromptRate_ = value; }
    int64_t viewAppearUntilShowInterstitialAd() const { return viewAppearUntilShowInterstitialAd_; }
    void setViewAppearUntilShowInterstitialAd(int64_t value) {
        viewAppearUntilShowInterstitialAd_ = value;
    }
    const std::string& vazerBannerAdID() const { return vazerBannerAdID_; }
    void setVazerBannerAdID(std::string value) { vazerBannerAdID_ = std::move(value); }
    const std::string& vazerInterstitialAdID() const { return vazerInterstitialAdID_; }
    void setVazerInterstitialAdID(std::string value) { vazerInterstitialAdID_ = std::move(value); }
    const std::string& vazerNativeExpressAdID() const { return vazerNativeExpressAdID_; }
    void setVazerNativeExpressAdID(std::string value) {
        vazerNativeExpressAdID_ = std::move(value);
    }

    // Pushes the rating settings to the rating prompt.
    void initRateAppConfig();
    // Starts the ad controller and listens for the app becoming active.
    void initAdvertise();

    // The rating facade.
    void setRatedStateForThisVersion(bool rated);
    void openRatingsPageInAppStore();
    bool isThisVersionRated() const;
    bool isAnyVersionRated() const;
    void promptForRating();
    std::string currentAppID() const;
    std::string appStoreTrackName() const;
    std::string applicationName() const;
    // YES once the running version has been seen live in the store; sticky.
    bool isCurrentVersionOnline() const;
    bool isLiteApp() const { return true; }

    // The ad facade.
    void showInterstitialAdInViewController(const std::shared_ptr<UIViewController>& controller);
    bool isInterstitialAdReady() const;
    void gotoBuyProVersion();
    void showTipViewWithMessage(const std::string& message);
    void onAppDidBecomeActiveNotification(const NSNotification& notification);

    // The rating prompt's decline restarts both counters.
    void RatePromptUserDidDeclineToRateApp() override;

private:
    RZCommonConfig() = default;

    std::string liteAppId_;
    std::string proAppId_;
    std::string fadebackEmail_;
    std::string artistId_;
    std::vector<std::string> adTestDevices_;
    bool shouldShowMoreAppsInSettings_ = true;
    bool shouldShowFullscreenAdFromBackgroundToForeground_ = false;
    bool enableBannerViewAnimation_ = true;
    int64_t viewAppearUntilPromptRate_ = 30;
    int64_t viewAppearUntilShowInterstitialAd_ = 20;
    std::string vazerBannerAdID_;
    std::string vazerInterstitialAdID_;
    std::string vazerNativeExpressAdID_;
};

// User-defaults keys of the app.
inline constexpr const char* kBackGrandSelectedKey = "backGrandSelected";
inline constexpr const char* kBackImageSelectedKey = "backImageSelected";
inline constexpr const char* kCurrVersionShangXianKey = "keyCurrVersionShangXian";
