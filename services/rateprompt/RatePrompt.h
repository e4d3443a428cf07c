// Decides when to ask the user to rate the app in the store. Its configuration, its
// counters of uses and significant events, and the versions the user rated or declined;
// counters and versions live in the user defaults under "RatePrompt..." keys.
#pragma once

#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSObject.h"
#include "services/rateprompt/RatePromptDelegate.h"

#include <cstdint>
#include <optional>
#include <string>

class RatePrompt : public NSObject {
    NS_OBJECT(RatePrompt)
public:
    RatePrompt();
    static std::shared_ptr<RatePrompt> sharedInstance();

    // Store identity. The getter falls back to the identifier learnt from the store.
    uint64_t appStoreID() const;
    void setAppStoreID(uint64_t identifier) { appStoreID_ = identifier; }
    uint64_t appStoreGenreID() const { return appStoreGenreID_; }
    void setAppStoreGenreID(uint64_t identifier) { appStoreGenreID_ = identifier; }
    const std::string& appStoreCountry() const { return appStoreCountry_; }
    void setAppStoreCountry(std::string country) { appStoreCountry_ = std::move(country); }
    const std::string& applicationName() const { return applicationName_; }
    void setApplicationName(std::string name) { applicationName_ = std::move(name); }
    const std::string& applicationVersion() const { return applicationVersion_; }
    void setApplicationVersion(std::string version) { applicationVersion_ = std::move(version); }
    const std::string& applicationBundleID() const { return applicationBundleID_; }
    void setApplicationBundleID(std::string identifier) {
        applicationBundleID_ = std::move(identifier);
    }
    // What the store lookup reported; unset until a lookup succeeded.
    const std::optional<std::string>& latestVersion() const { return latestVersion_; }
    void setLatestVersion(std::optional<std::string> version) {
        latestVersion_ = std::move(version);
    }
    const std::optional<std::string>& appStoreTrackName() const { return appStoreTrackName_; }
    void setAppStoreTrackName(std::optional<std::string> name) {
        appStoreTrackName_ = std::move(name);
    }

    // The prompt rule's thresholds.
    uint64_t usesUntilPrompt() const { return usesUntilPrompt_; }
    void setUsesUntilPrompt(uint64_t uses) { usesUntilPrompt_ = uses; }
    uint64_t eventsUntilPrompt() const { return eventsUntilPrompt_; }
    void setEventsUntilPrompt(uint64_t events) { eventsUntilPrompt_ = events; }
    float daysUntilPrompt() const { return daysUntilPrompt_; }
    void setDaysUntilPrompt(float days) { daysUntilPrompt_ = days; }
    float usesPerWeekForPrompt() const { return usesPerWeekForPrompt_; }
    void setUsesPerWeekForPrompt(float uses) { usesPerWeekForPrompt_ = uses; }
    float remindPeriod() const { return remindPeriod_; }
    void setRemindPeriod(float days) { remindPeriod_ = days; }

    // Texts; unset ones take their localised defaults.
    const std::optional<std::string>& remindButtonLabelSetting() const {
        return remindButtonLabel_;
    }
    void setRemindButtonLabel(std::string label) { remindButtonLabel_ = std::move(label); }

    // Switches.
    bool useAllAvailableLanguages() const { return useAllAvailableLanguages_; }
    void setUseAllAvailableLanguages(bool value) { useAllAvailableLanguages_ = value; }
    bool useUIAlertControllerIfAvailable() const { return useUIAlertControllerIfAvailable_; }
    void setUseUIAlertControllerIfAvailable(bool value) {
        useUIAlertControllerIfAvailable_ = value;
    }
    bool promptForNewVersionIfUserRated() const { return promptForNewVersionIfUserRated_; }
    void setPromptForNewVersionIfUserRated(bool value) { promptForNewVersionIfUserRated_ = value; }
    bool onlyPromptIfLatestVersion() const { return onlyPromptIfLatestVersion_; }
    void setOnlyPromptIfLatestVersion(bool value) { onlyPromptIfLatestVersion_ = value; }
    bool promptAtLaunch() const { return promptAtLaunch_; }
    void setPromptAtLaunch(bool value) { promptAtLaunch_ = value; }
    bool verboseLogging() const { return verboseLogging_; }
    void setVerboseLogging(bool value) { verboseLogging_ = value; }
    bool previewMode() const { return previewMode_; }
    void setPreviewMode(bool value) { previewMode_ = value; }

    // Not retained.
    std::shared_ptr<RatePromptDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<RatePromptDelegate>& delegate) { delegate_ = delegate; }

    // Persistent state (each setter writes through to the user defaults and synchronises).
    std::optional<NSDate> firstUsed() const;
    void setFirstUsed(std::optional<NSDate> date);
    std::optional<NSDate> lastReminded() const;
    void setLastReminded(std::optional<NSDate> date);
    uint64_t usesCount() const;
    void setUsesCount(uint64_t count);
    uint64_t eventCount() const;
    void setEventCount(uint64_t count);
    float usesPerWeek() const;
    bool declinedThisVersion() const;
    void setDeclinedThisVersion(bool declined);
    bool declinedAnyVersion() const;
    bool ratedThisVersion() const;
    void setRatedThisVersion(bool rated);
    bool ratedAnyVersion() const;
    bool ratedVersion(const std::string& version) const;

    // Counts one significant event.
    void logEvent(bool deferPrompt);
    // Shows the rating question now.
    void promptForRating();
    // The store's review page of this app: the set one, else built from the store id.
    std::string ratingsURL() const;
    void setRatingsURL(std::string url) { ratingsURL_ = std::move(url); }
    void openRatingsPageInAppStore();

    // The launch: a new version starts a new counting period for users who rated before
    // (or on first install); then one use is counted.
    void applicationLaunched();
    // A return from the background counts one use.
    void applicationWillEnterForeground();

    // The country code the store is asked about: "150" is "eu", "GI" is "GB", anything
    // that is not two letters is "us".
    static std::string storeCountryForLocaleCountry(const std::string& countryCode);

private:
    uint64_t appStoreID_ = 0;
    uint64_t appStoreGenreID_ = 0;
    std::string appStoreCountry_;
    std::string applicationName_;
    std::string applicationVersion_;
    std::string applicationBundleID_;
    std::optional<std::string> latestVersion_;
    std::optional<std::string> appStoreTrackName_;
    uint64_t usesUntilPrompt_ = 10;
    uint64_t eventsUntilPrompt_ = 10;
    float daysUntilPrompt_ = 10.0f;
    float usesPerWeekForPrompt_ = 0.0f;
    float remindPeriod_ = 1.0f;
    std::optional<std::string> remindButtonLabel_;
    bool useAllAvailableLanguages_ = true;
    bool useUIAlertControllerIfAvailable_ = false;
    bool promptForNewVersionIfUserRated_ = false;
    bool onlyPromptIfLatestVersion_ = true;
    bool promptAtLaunch_ = true;
    bool verboseLogging_ = false;
    bool previewMode_ = false;
    std::weak_ptr<RatePromptDelegate> delegate_;
    std::string ratingsURL_;
};
