#include "services/rateprompt/RatePrompt.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <cctype>

namespace {
constexpr const char* kAppStoreIDKey = "RatePromptAppStoreID";
constexpr const char* kFirstUsedKey = "RatePromptFirstUsed";
constexpr const char* kLastRemindedKey = "RatePromptLastReminded";
constexpr const char* kUseCountKey = "RatePromptUseCount";
constexpr const char* kEventCountKey = "RatePromptEventCount";
constexpr const char* kDeclinedVersionKey = "RatePromptDeclinedVersion";
constexpr const char* kRatedVersionKey = "RatePromptRatedVersionChecked";
constexpr const char* kLastVersionUsedKey = "RatePromptLastVersionUsed";
constexpr uint64_t kGamesGenreID = 6014;

std::shared_ptr<NSUserDefaults> defaults() {
    return NSUserDefaults::standardUserDefaults();
}

void store(const char* key, PlistValue value) {
    auto d = defaults();
    d->setObjectForKey(std::move(value), key);
    d->synchronize();
}

std::string infoString(const char* key) {
    auto value = NSBundle::mainBundle()->objectForInfoDictionaryKey(key);
    return value.string() ? *value.string() : std::string();
}

// The language the texts are wanted in: the first preferred language's code, with its
// script when it names one ("zh-Hans-CN" -> "zh-Hans", "de-AT" -> "de"); "en" when the
// user prefers none.
std::string wantedTextLanguage() {
    auto languages = NSLocale::preferredLanguages();
    if (languages.empty() || languages.front().empty()) {
        return "en";
    }
    auto parts = NSString::componentsSeparatedByString(languages.front(), "-");
    std::string language = parts[0];
    if (parts.size() > 1 && parts[1].size() == 4 &&
        std::all_of(parts[1].begin(), parts[1].end(),
                    [](unsigned char c) { return std::isalpha(c); })) {
        language += "-" + parts[1];
    }
    return language;
}
} // namespace

std::string RatePrompt::storeCountryForLocaleCountry(const std::string& code) {
    if (code == "150") {
        return "eu";
    }
    bool twoLetters = code.size() == 2 && std::isalpha(static_cast<unsigned char>(code[0])) &&
                      std::isalpha(static_cast<unsigned char>(code[1]));
    if (!twoLetters) {
        return "us";
    }
    return code == "GI" ? "GB" : code;
}

RatePrompt::RatePrompt() {
    appStoreCountry_ = storeCountryForLocaleCountry(NSLocale::currentLocale()->countryCode());
    applicationName_ = infoString("CFBundleDisplayName");
    if (applicationName_.empty()) {
        applicationName_ = infoString("CFBundleName");
    }
    applicationVersion_ = infoString("CFBundleShortVersionString");
    if (applicationVersion_.empty()) {
        applicationVersion_ = infoString("CFBundleVersion");
    }
    applicationBundleID_ = NSBundle::mainBundle()->bundleIdentifier();
}

namespace {
// Main thread only, as the prompt is.
std::shared_ptr<RatePrompt>& sharedPrompt() {
    static std::shared_ptr<RatePrompt> instance;
    return instance;
}
} // namespace

void RatePrompt::resetForTesting() {
    sharedPrompt().reset();
}

std::shared_ptr<RatePrompt> RatePrompt::sharedInstance() {
    std::shared_ptr<RatePrompt>& instance = sharedPrompt();
    if (!instance) {
        instance = init();
        NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
            instance, weakAction(instance, &RatePrompt::applicationWillEnterForeground),
            UIApplicationWillEnterForegroundNotification, nullptr);
        dispatch_async(dispatch_get_main_queue(),
                       weakAction(instance, &RatePrompt::applicationLaunched));
    }
    return instance;
}

uint64_t RatePrompt::appStoreID() const {
    if (appStoreID_ != 0) {
        return appStoreID_;
    }
    int64_t stored = defaults()->integerForKey(kAppStoreIDKey);
    return stored > 0 ? static_cast<uint64_t>(stored) : 0;
}

std::optional<NSDate> RatePrompt::firstUsed() const {
    return defaults()->objectForKey(kFirstUsedKey).date();
}

void RatePrompt::setFirstUsed(std::optional<NSDate> date) {
    store(kFirstUsedKey, date ? PlistValue(*date) : PlistValue());
}

std::optional<NSDate> RatePrompt::lastReminded() const {
    return defaults()->objectForKey(kLastRemindedKey).date();
}

void RatePrompt::setLastReminded(std::optional<NSDate> date) {
    store(kLastRemindedKey, date ? PlistValue(*date) : PlistValue());
}

uint64_t RatePrompt::usesCount() const {
    return static_cast<uint64_t>(defaults()->integerForKey(kUseCountKey));
}

void RatePrompt::setUsesCount(uint64_t count) {
    store(kUseCountKey, PlistValue(count));
}

uint64_t RatePrompt::eventCount() const {
    return static_cast<uint64_t>(defaults()->integerForKey(kEventCountKey));
}

void RatePrompt::setEventCount(uint64_t count) {
    store(kEventCountKey, PlistValue(count));
}

float RatePrompt::usesPerWeek() const {
    return rule().usesPerWeek();
}

bool RatePrompt::declinedThisVersion() const {
    // An absent key equals no version, not even an empty one.
    return defaults()->objectForKey(kDeclinedVersionKey) == PlistValue(applicationVersion_);
}

void RatePrompt::setDeclinedThisVersion(bool declined) {
    store(kDeclinedVersionKey, declined ? PlistValue(applicationVersion_) : PlistValue());
}

bool RatePrompt::declinedAnyVersion() const {
    return !defaults()->stringForKey(kDeclinedVersionKey).empty();
}

bool RatePrompt::ratedThisVersion() const {
    return ratedVersion(applicationVersion_);
}

void RatePrompt::setRatedThisVersion(bool rated) {
    store(kRatedVersionKey, rated ? PlistValue(applicationVersion_) : PlistValue());
}

bool RatePrompt::ratedAnyVersion() const {
    return !defaults()->stringForKey(kRatedVersionKey).empty();
}

bool RatePrompt::ratedVersion(const std::string& version) const {
    return defaults()->objectForKey(kRatedVersionKey) == PlistValue(version);
}

void RatePrompt::logEvent(bool deferPrompt) {
    setEventCount(eventCount() + 1);
    if (!deferPrompt) {
        promptIfAllCriteriaMet();
    }
}

RatePromptRule RatePrompt::rule() const {
    RatePromptRule::Counters counters;
    counters.uses = usesCount();
    counters.events = eventCount();
    counters.firstUsed = firstUsed();
    counters.lastReminded = lastReminded();
    counters.ratedThisVersion = ratedThisVersion();
    counters.ratedAnyVersion = ratedAnyVersion();
    counters.declinedAnyVersion = declinedAnyVersion();
    return {counters, ruleSettings_, NSDate::date()};
}

bool RatePrompt::shouldPromptForRating() const {
    using Decision = RatePromptRule::Decision;
    const RatePromptRule rule = this->rule();
    const RatePromptRule::Counters& counters = rule.counters;
    std::string reason;
    switch (rule.decision()) {
    case Decision::Prompt:
        return true;
    case Decision::PromptInPreviewMode:
        NSLog("RatePrompt preview mode is enabled - make sure you disable this for release");
        return true;
    case Decision::RatedThisVersion:
        reason = "the user has already rated this version";
        break;
    case Decision::RatedAnEarlierVersion:
        reason = "the user has already rated this app, and promptForNewVersionIfUserRated is "
                 "disabled";
        break;
    case Decision::Declined:
        reason = "the user has declined to rate the app";
        break;
    case Decision::TooSoonAfterFirstUse:
        reason = NSString::stringWithFormat("the app was first used less than %g days ago",
                                            ruleSettings_.daysUntilPrompt);
        break;
    case Decision::TooFewUsesAndEvents:
        reason = NSString::stringWithFormat(
            "the app has only been used %@ times and only %@ events have been logged",
            counters.uses, counters.events);
        break;
    case Decision::TooFewUsesPerWeek:
        reason = NSString::stringWithFormat(
            "the app has only been used %g times per week on average since it was installed",
            rule.usesPerWeek());
        break;
    case Decision::RemindedRecently:
        reason = NSString::stringWithFormat(
            "the user last asked to be reminded less than %g days ago", ruleSettings_.remindPeriod);
        break;
    }
    if (verboseLogging_) {
        NSLog("%@", "RatePrompt did not prompt for rating because " + reason);
    }
    return false;
}

void RatePrompt::promptIfAllCriteriaMet() {
    if (shouldPromptForRating()) {
        promptIfNetworkAvailable();
    }
}

void RatePrompt::promptIfNetworkAvailable() {
    if (!checkingForPrompt_ && !checkingForAppStoreID_) {
        checkingForPrompt_ = true;
        checkForConnectivityInBackground();
    }
}

void RatePrompt::checkForConnectivityInBackground() {
    RatePromptStoreLookup::Query query;
    query.country = appStoreCountry_;
    query.appStoreID = appStoreID_;
    query.bundleID = applicationBundleID_;
    query.applicationVersion = applicationVersion_;
    query.onlyPromptIfLatestVersion = onlyPromptIfLatestVersion_;
    query.previewMode = ruleSettings_.previewMode;
    query.verboseLogging = verboseLogging_;
    // While a lookup runs, its outcome serves whatever waits for it when it comes.
    storeLookup_->startWithQueryCompletion(
        std::move(query), weakAction(self<RatePrompt>(), &RatePrompt::lookupFinished));
}

void RatePrompt::lookupFinished(const RatePromptStoreLookup::Result& result) {
    if (result.found) {
        if (appStoreGenreID_ == 0 && result.genreID) {
            appStoreGenreID_ = *result.genreID;
        }
        if (result.trackID) {
            setAppStoreIDOnMainThread(*result.trackID);
        }
        latestVersion_ = result.latestVersion;
        appStoreTrackName_ = result.trackName;
    }
    // A POSIX "operation not permitted" while an identifier is configured is no failure.
    bool ignorable = result.error && result.error->domain() == NSPOSIXErrorDomain &&
                     result.error->code() == 1 && appStoreID_ != 0;
    if (result.error && !ignorable) {
        connectionError(result.error);
    } else if (appStoreID() != 0 || ruleSettings_.previewMode) {
        connectionSucceeded();
    } else {
        // The store does not know the app: there is nothing to rate yet. The waiting
        // request ends, so that a later one can look again.
        checkingForPrompt_ = false;
        checkingForAppStoreID_ = false;
    }
}

void RatePrompt::setAppStoreIDOnMainThread(const std::string& appStoreID) {
    int64_t identifier = NSString::integerValue(appStoreID);
    appStoreID_ = identifier > 0 ? static_cast<uint64_t>(identifier) : 0;
    store(kAppStoreIDKey, PlistValue(appStoreID_));
}

void RatePrompt::connectionSucceeded() {
    if (checkingForAppStoreID_) {
        checkingForAppStoreID_ = false;
        checkingForPrompt_ = false;
        if (ratingsURL_.empty() && appStoreID() == 0) {
            // Only preview mode succeeds without an id; looking again would loop.
            NSLog("RatePrompt cannot open the ratings page: the App Store did not report an ID "
                  "for this application");
            return;
        }
        openRatingsPageInAppStore();
    } else if (checkingForPrompt_) {
        checkingForPrompt_ = false;
        auto listener = delegate();
        if (!listener || listener->RatePromptShouldPromptForRating()) {
            promptForRating();
        } else if (verboseLogging_) {
            NSLog("RatePrompt did not display the rating prompt because the "
                  "RatePromptShouldPromptForRating delegate method returned NO");
        }
    }
}

void RatePrompt::connectionError(const std::shared_ptr<NSError>& error) {
    if (!checkingForPrompt_ && !checkingForAppStoreID_) {
        return;
    }
    checkingForPrompt_ = false;
    checkingForAppStoreID_ = false;
    if (error) {
        NSLog("RatePrompt rating process failed because: %@", error->localizedDescription());
    } else {
        NSLog("RatePrompt rating process failed because an unknown error occured");
    }
    if (auto listener = delegate()) {
        listener->RatePromptCouldNotConnectToAppStore(error);
    }
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(
        "RatePromptCouldNotConnectToAppStore", error);
}

void RatePrompt::applicationLaunched() {
    auto d = defaults();
    auto lastVersion = d->objectForKey(kLastVersionUsedKey);
    auto first = firstUsed();
    if (!first || lastVersion != PlistValue(applicationVersion_)) {
        d->setObjectForKey(applicationVersion_, kLastVersionUsedKey);
        if (!first || ratedAnyVersion()) {
            d->setObjectForKey(NSDate::date(), kFirstUsedKey);
            d->setIntegerForKey(0, kUseCountKey);
            d->setIntegerForKey(0, kEventCountKey);
            d->removeObjectForKey(kLastRemindedKey);
            d->synchronize();
        } else {
            // A user who never rated keeps the counts and waits at most one more day.
            double grace = (static_cast<double>(ruleSettings_.daysUntilPrompt) - 1.0) *
                           RatePromptRule::kSecondsPerDay;
            if (-first->timeIntervalSinceNow() > grace) {
                setFirstUsed(NSDate::dateWithTimeIntervalSinceNow(-grace));
            }
        }
        announce("RatePromptDidDetectAppUpdate", &RatePromptDelegate::RatePromptDidDetectAppUpdate);
    }
    setUsesCount(usesCount() + 1);
    checkForConnectivityInBackground();
    if (promptAtLaunch_) {
        promptIfAllCriteriaMet();
    }
}

void RatePrompt::applicationWillEnterForeground() {
    if (UIApplication::sharedApplication()->applicationState() == UIApplicationState::Background) {
        setUsesCount(usesCount() + 1);
        checkForConnectivityInBackground();
        if (promptAtLaunch_) {
            promptIfAllCriteriaMet();
        }
    }
}

void RatePrompt::promptForRating() {
    if (visibleAlert_) {
        return;
    }
    std::string text = ratedAnyVersion() ? updateMessage() : message();
    auto application = UIApplication::sharedApplication();
    auto window = application->delegate() ? application->delegate()->window() : nullptr;
    auto top = window ? window->rootViewController() : nullptr;
    while (top && top->presentedViewController()) {
        top = top->presentedViewController();
    }
    std::weak_ptr<RatePrompt> weak = weakSelf<RatePrompt>();
    if (top && useUIAlertControllerIfAvailable_) {
        auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
            messageTitle(), text, UIAlertControllerStyle::Alert);
        auto answer = [weak](long index) {
            return weakCall(weak,
                            [index](RatePrompt& prompt, const std::shared_ptr<UIAlertAction>&) {
                                prompt.didDismissAlertWithButtonAtIndex(index);
                            });
        };
        alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
            rateButtonLabel(), UIAlertActionStyle::Default, answer(0)));
        if (showCancelButton()) {
            alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
                cancelButtonLabel(), UIAlertActionStyle::Cancel, answer(1)));
        }
        if (showRemindButton()) {
            alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
                remindButtonLabel(), UIAlertActionStyle::Default,
                answer(showCancelButton() ? 2 : 1)));
        }
        visibleAlert_ = alert;
        top->presentViewControllerAnimatedCompletion(alert, true, nullptr);
    } else {
        auto alert = UIAlertView::initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
            messageTitle(), text, self<RatePrompt>(), "", {rateButtonLabel()});
        if (showCancelButton()) {
            alert->setCancelButtonIndex(alert->addButtonWithTitle(cancelButtonLabel()));
        }
        if (showRemindButton()) {
            alert->addButtonWithTitle(remindButtonLabel());
        }
        alert->show();
        if (!alert->isVisible()) {
            // Without a window nothing can be asked; holding the alert would block every
            // later prompt.
            NSLog("RatePrompt cannot show the rating alert: the application has no key window");
            return;
        }
        visibleAlert_ = alert;
    }
    announce("RatePromptDidPromptForRating", &RatePromptDelegate::RatePromptDidPromptForRating);
}

void RatePrompt::alertViewDidDismissWithButtonIndex(UIAlertView&, long buttonIndex) {
    didDismissAlertWithButtonAtIndex(buttonIndex);
}

void RatePrompt::didDismissAlertWithButtonAtIndex(long buttonIndex) {
    bool cancel = showCancelButton();
    if (buttonIndex == 0) {
        rate();
    } else if (cancel && buttonIndex == 1) {
        declineThisVersion();
    } else if (showRemindButton() && buttonIndex == (cancel ? 2 : 1)) {
        remindLater();
    }
    visibleAlert_ = nullptr;
}

void RatePrompt::rate() {
    setRatedThisVersion(true);
    announce("RatePromptUserDidAttemptToRateApp",
             &RatePromptDelegate::RatePromptUserDidAttemptToRateApp);
    auto listener = delegate();
    if (!listener || listener->RatePromptShouldOpenAppStore()) {
        openRatingsPageInAppStore();
    }
}

void RatePrompt::declineThisVersion() {
    setDeclinedThisVersion(true);
    announce("RatePromptUserDidDeclineToRateApp",
             &RatePromptDelegate::RatePromptUserDidDeclineToRateApp);
}

void RatePrompt::remindLater() {
    setLastReminded(NSDate::date());
    announce("RatePromptUserDidRequestReminderToRateApp",
             &RatePromptDelegate::RatePromptUserDidRequestReminderToRateApp);
}

void RatePrompt::announce(const char* name, void (RatePromptDelegate::*method)()) {
    if (auto listener = delegate()) {
        ((*listener).*method)();
    }
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(name, nullptr);
}

std::shared_ptr<RatePromptDelegate> RatePrompt::delegate() {
    auto current = delegate_.lock();
    if (!current) {
        current = std::dynamic_pointer_cast<RatePromptDelegate>(
            UIApplication::sharedApplication()->delegate());
        if (current) {
            delegate_ = current;
        }
    }
    return current;
}

std::string RatePrompt::withApplicationName(const std::string& text) const {
    return NSString::stringByReplacingOccurrencesOfStringWithString(text, "%@", applicationName_);
}

std::string RatePrompt::messageTitle() {
    return withApplicationName(
        messageTitle_ ? *messageTitle_
                      : localizedStringForKeyWithDefault("RatePromptMessageTitle", "Rate %@"));
}

std::string RatePrompt::message() {
    if (message_) {
        return withApplicationName(*message_);
    }
    if (appStoreGenreID_ == kGamesGenreID) {
        return withApplicationName(localizedStringForKeyWithDefault(
            "RatePromptGameMessage",
            "If you enjoy playing %@, would you mind taking a moment to rate it? It won’t take "
            "more than a minute. Thanks for your support!"));
    }
    return withApplicationName(localizedStringForKeyWithDefault(
        "RatePromptAppMessage",
        "If you enjoy using %@, would you mind taking a moment to rate it? It won’t take more "
        "than a minute. Thanks for your support!"));
}

std::string RatePrompt::updateMessage() {
    return withApplicationName(
        updateMessage_ ? *updateMessage_
                       : localizedStringForKeyWithDefault("RatePromptUpdateMessage", message()));
}

std::string RatePrompt::cancelButtonLabel() {
    return cancelButtonLabel_
               ? *cancelButtonLabel_
               : localizedStringForKeyWithDefault("RatePromptCancelButton", "No, Thanks");
}

std::string RatePrompt::rateButtonLabel() {
    return rateButtonLabel_
               ? *rateButtonLabel_
               : localizedStringForKeyWithDefault("RatePromptRateButton", "Rate It Now");
}

std::string RatePrompt::remindButtonLabel() {
    return remindButtonLabel_
               ? *remindButtonLabel_
               : localizedStringForKeyWithDefault("RatePromptRemindButton", "Remind Me Later");
}

std::shared_ptr<NSBundle> RatePrompt::textBundle() {
    if (textBundle_) {
        return textBundle_;
    }
    auto main = NSBundle::mainBundle();
    std::string path = main->pathForResourceOfType("RatePrompt", "bundle");
    auto resources = NSBundle::bundleWithPath(path);
    if (resources && useAllAvailableLanguages_) {
        auto available = resources->localizations();
        auto has = [&](const std::string& name) {
            return std::find(available.begin(), available.end(), name) != available.end();
        };
        std::string language = wantedTextLanguage();
        if (!has(language)) {
            language = language.substr(0, language.find('-'));
        }
        if (has(language)) {
            resources = NSBundle::bundleWithPath(path + "/" + language + ".lproj");
        }
    }
    textBundle_ = resources ? resources : main;
    return textBundle_;
}

std::string RatePrompt::localizedStringForKeyWithDefault(const std::string& key,
                                                         const std::string& defaultText) {
    std::string text = textBundle()->localizedStringForKeyValueTable(key, defaultText, "");
    return NSBundle::mainBundle()->localizedStringForKeyValueTable(key, text, "");
}

std::string RatePrompt::ratingsURL() const {
    if (!ratingsURL_.empty()) {
        return ratingsURL_;
    }
    uint64_t identifier = appStoreID();
    if (identifier == 0 && verboseLogging_) {
        NSLog("RatePrompt could not find the App Store ID for this application. If the "
              "application is not intended for App Store release then you must specify a "
              "custom ratingsURL.");
    }
    std::string idText = NSString::stringWithFormat("%llu", identifier);
    float version = NSString::floatValue(UIDevice::currentDevice()->systemVersion());
    if (version >= 7.0f && version < 7.1f) {
        return NSString::stringWithFormat(std::string(kStoreLinkPrefix) + "/app/id%@", idText);
    }
    return NSString::stringWithFormat(
        std::string(kStoreLinkPrefix) +
            "/WebObjects/MZStore.woa/wa/viewContentsUserReviews?"
            "type=Purple+Software&id=%@&pageNumber=0&sortOrdering=2&mt=8",
        idText);
}

void RatePrompt::openRatingsPageInAppStore() {
    if (ratingsURL_.empty() && appStoreID() == 0) {
        // The identifier is learnt from the store lookup, which opens the page afterwards.
        checkingForAppStoreID_ = true;
        if (!checkingForPrompt_) {
            checkForConnectivityInBackground();
        }
        return;
    }
    std::string url = ratingsURL();
    if (verboseLogging_) {
        NSLog("RatePrompt will open the App Store ratings page using the following URL: %@", url);
    }
    UIApplication::sharedApplication()->openURL(url);
    announce("RatePromptDidOpenAppStore", &RatePromptDelegate::RatePromptDidOpenAppStore);
}
