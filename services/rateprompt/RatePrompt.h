// Decides when to ask the user to rate the app in the store, asks in an alert, remembers
// the answer per app version and opens the store's rating page. Its counters of uses and
// significant events and the versions the user rated or declined live in the user
// defaults under "RatePrompt..." keys; the store lookup confirms the store can be reached
// before the alert is shown. Main thread only.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSDate.h"
#include "platform/uikit/UIAlertViewDelegate.h"
#include "services/rateprompt/RatePromptDelegate.h"
#include "services/rateprompt/RatePromptRule.h"
#include "services/rateprompt/RatePromptStoreLookup.h"

#include <cstdint>
#include <optional>
#include <string>

class NSBundle;

class RatePrompt : public NSObject, public UIAlertViewDelegate {
    NS_OBJECT(RatePrompt)
public:
    // The prompt the app uses: it counts the application's launches and returns to the
    // foreground.
    static std::shared_ptr<RatePrompt> sharedInstance();
    // A prompt apart from the shared one: launches and returns to the foreground reach it
    // only when told (applicationLaunched, applicationWillEnterForeground).
    static std::shared_ptr<RatePrompt> init() { return make<RatePrompt>(); }
    static std::shared_ptr<RatePrompt> alloc() { return init(); }
    // Forgets the shared prompt; the next sharedInstance() makes a new one (between tests).
    static void resetForTesting();
    // Store pages open in the store application, on the store's web host.
    static constexpr const char* kStoreLinkPrefix = "itms-apps://apps.store.example";

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
    uint64_t usesUntilPrompt() const { return ruleSettings_.usesUntilPrompt; }
    void setUsesUntilPrompt(uint64_t uses) { ruleSettings_.usesUntilPrompt = uses; }
    uint64_t eventsUntilPrompt() const { return ruleSettings_.eventsUntilPrompt; }
    void setEventsUntilPrompt(uint64_t events) { ruleSettings_.eventsUntilPrompt = events; }
    float daysUntilPrompt() const { return ruleSettings_.daysUntilPrompt; }
    void setDaysUntilPrompt(float days) { ruleSettings_.daysUntilPrompt = days; }
    float usesPerWeekForPrompt() const { return ruleSettings_.usesPerWeekForPrompt; }
    void setUsesPerWeekForPrompt(float uses) { ruleSettings_.usesPerWeekForPrompt = uses; }
    float remindPeriod() const { return ruleSettings_.remindPeriod; }
    void setRemindPeriod(float days) { ruleSettings_.remindPeriod = days; }

    // Texts: the set ones, else the localised defaults; every "%@" in the three messages
    // stands for applicationName. An empty button label leaves that button out.
    std::string messageTitle();
    void setMessageTitle(std::string text) { messageTitle_ = std::move(text); }
    // The games genre has its own wording.
    std::string message();
    void setMessage(std::string text) { message_ = std::move(text); }
    // Shown to users who rated an earlier version; by default the message.
    std::string updateMessage();
    void setUpdateMessage(std::string text) { updateMessage_ = std::move(text); }
    std::string cancelButtonLabel();
    void setCancelButtonLabel(std::string label) { cancelButtonLabel_ = std::move(label); }
    std::string rateButtonLabel();
    void setRateButtonLabel(std::string label) { rateButtonLabel_ = std::move(label); }
    std::string remindButtonLabel();
    void setRemindButtonLabel(std::string label) { remindButtonLabel_ = std::move(label); }
    bool showCancelButton() { return !cancelButtonLabel().empty(); }
    bool showRemindButton() { return !remindButtonLabel().empty(); }
    // The application's own string table first, then the prompt's resource bundle in the
    // chosen language, then `defaultText`. The language is chosen on first use.
    std::string localizedStringForKeyWithDefault(const std::string& key,
                                                 const std::string& defaultText);

    // Switches.
    bool useAllAvailableLanguages() const { return useAllAvailableLanguages_; }
    void setUseAllAvailableLanguages(bool value) { useAllAvailableLanguages_ = value; }
    bool useUIAlertControllerIfAvailable() const { return useUIAlertControllerIfAvailable_; }
    void setUseUIAlertControllerIfAvailable(bool value) {
        useUIAlertControllerIfAvailable_ = value;
    }
    bool promptForNewVersionIfUserRated() const {
        return ruleSettings_.promptForNewVersionIfUserRated;
    }
    void setPromptForNewVersionIfUserRated(bool value) {
        ruleSettings_.promptForNewVersionIfUserRated = value;
    }
    bool onlyPromptIfLatestVersion() const { return onlyPromptIfLatestVersion_; }
    void setOnlyPromptIfLatestVersion(bool value) { onlyPromptIfLatestVersion_ = value; }
    bool promptAtLaunch() const { return promptAtLaunch_; }
    void setPromptAtLaunch(bool value) { promptAtLaunch_ = value; }
    bool verboseLogging() const { return verboseLogging_; }
    void setVerboseLogging(bool value) { verboseLogging_ = value; }
    bool previewMode() const { return ruleSettings_.previewMode; }
    void setPreviewMode(bool value) { ruleSettings_.previewMode = value; }

    // Not retained. When none is set, the application's delegate is taken (and kept) if
    // it is a RatePromptDelegate.
    std::shared_ptr<RatePromptDelegate> delegate();
    void setDelegate(const std::shared_ptr<RatePromptDelegate>& delegate) { delegate_ = delegate; }

    // The store lookup, whose base URL and timeout are configuration.
    const std::shared_ptr<RatePromptStoreLookup>& storeLookup() const { return storeLookup_; }
    // The alert or alert controller on screen, null when none is.
    const std::shared_ptr<NSObject>& visibleAlert() const { return visibleAlert_; }
    // A lookup runs on behalf of a prompt, or of opening the rating page.
    bool checkingForPrompt() const { return checkingForPrompt_; }
    bool checkingForAppStoreID() const { return checkingForAppStoreID_; }

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

    // Counts one significant event; unless deferred, then prompts if the rule holds.
    void logEvent(bool deferPrompt);
    // The prompt rule on the stored counters and the settings, without side effects; the
    // reason for a NO is logged when verbose.
    bool shouldPromptForRating() const;
    void promptIfAllCriteriaMet();
    // Asks the store first; the alert follows when it answers. Nothing new starts while a
    // prompt or a rating page already waits for a lookup.
    void promptIfNetworkAvailable();
    // Shows the rating alert now, without the rule; nothing while one is on screen.
    void promptForRating();
    // The store's review page of this app: the set one, else built from the store id.
    std::string ratingsURL() const;
    void setRatingsURL(std::string url) { ratingsURL_ = std::move(url); }
    // Without a store id (and no set URL) the id is looked up first and the page opened
    // once it is known.
    void openRatingsPageInAppStore();

    // The three answers of the alert.
    void rate();
    void declineThisVersion();
    void remindLater();
    // Index 0 rates, 1 declines (with the cancel button), the button after them reminds.
    void didDismissAlertWithButtonAtIndex(long buttonIndex);
    void alertViewDidDismissWithButtonIndex(UIAlertView& alertView, long buttonIndex) override;

    // Starts the store lookup unless one is running; its outcome comes back through the
    // three calls below, on the main thread.
    void checkForConnectivityInBackground();
    void connectionSucceeded();
    void connectionError(const std::shared_ptr<NSError>& error);
    // Keeps the identifier the store reported, here and in the user defaults.
    void setAppStoreIDOnMainThread(const std::string& appStoreID);

    // The launch: a new version starts a new counting period for users who rated before
    // (or on first install); then one use is counted and the store asked, and with
    // promptAtLaunch the prompt follows if the rule holds.
    void applicationLaunched();
    // A return from the background does the same, apart from the version check.
    void applicationWillEnterForeground();

    // The country code the store is asked about: "150" is "eu", "GI" is "GB", anything
    // that is not two letters is "us".
    static std::string storeCountryForLocaleCountry(const std::string& countryCode);

private:
    RatePrompt();

    // The rule on the stored counters and the settings, now.
    RatePromptRule rule() const;
    void lookupFinished(const RatePromptStoreLookup::Result& result);
    // The text with every "%@" replaced by the application's name.
    std::string withApplicationName(const std::string& text) const;
    std::shared_ptr<NSBundle> textBundle();
    // Tells the delegate (when there is one) and posts the notification of that name.
    void announce(const char* name, void (RatePromptDelegate::*method)());

    uint64_t appStoreID_ = 0;
    uint64_t appStoreGenreID_ = 0;
    std::string appStoreCountry_;
    std::string applicationName_;
    std::string applicationVersion_;
    std::string applicationBundleID_;
    std::optional<std::string> latestVersion_;
    std::optional<std::string> appStoreTrackName_;
    RatePromptRule::Settings ruleSettings_;
    std::optional<std::string> messageTitle_;
    std::optional<std::string> message_;
    std::optional<std::string> updateMessage_;
    std::optional<std::string> cancelButtonLabel_;
    std::optional<std::string> rateButtonLabel_;
    std::optional<std::string> remindButtonLabel_;
    bool useAllAvailableLanguages_ = true;
    bool useUIAlertControllerIfAvailable_ = false;
    bool onlyPromptIfLatestVersion_ = true;
    bool promptAtLaunch_ = true;
    bool verboseLogging_ = false;
    std::weak_ptr<RatePromptDelegate> delegate_;
    std::string ratingsURL_;
    std::shared_ptr<RatePromptStoreLookup> storeLookup_ = RatePromptStoreLookup::init();
    std::shared_ptr<NSObject> visibleAlert_;
    bool checkingForPrompt_ = false;
    bool checkingForAppStoreID_ = false;
    std::shared_ptr<NSBundle> textBundle_;
};
