#include "services/rateprompt/RatePrompt.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"

#include <cctype>
#include <limits>

NS_REGISTER_CLASS(RatePrompt, NSObject);

namespace {
constexpr const char* kAppStoreIDKey = "RatePromptAppStoreID";
constexpr const char* kFirstUsedKey = "RatePromptFirstUsed";
constexpr const char* kLastRemindedKey = "RatePromptLastReminded";
constexpr const char* kUseCountKey = "RatePromptUseCount";
constexpr const char* kEventCountKey = "RatePromptEventCount";
constexpr const char* kDeclinedVersionKey = "RatePromptDeclinedVersion";
constexpr const char* kRatedVersionKey = "RatePromptRatedVersionChecked";
constexpr const char* kLastVersionUsedKey = "RatePromptLastVersionUsed";
// Rating links open in the store application, on the store's web host.
constexpr const char* kStoreLinkPrefix = "itms-apps://apps.store.example";
constexpr double kSecondsPerDay = 86400.0;
constexpr double kSecondsPerWeek = 604800.0;

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

std::shared_ptr<RatePrompt> RatePrompt::sharedInstance() {
    static std::shared_ptr<RatePrompt> instance;
    if (!instance) {
        instance = std::make_shared<RatePrompt>();
        std::weak_ptr<RatePrompt> weak = instance;
        NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
            instance,
            [weak](const NSNotification&) {
                if (auto prompt = weak.lock()) {
                    prompt->applicationWillEnterForeground();
                }
            },
            UIApplicationWillEnterForegroundNotification, nullptr);
        dispatch_async(dispatch_get_main_queue(), [weak] {
            if (auto prompt = weak.lock()) {
                prompt->applicationLaunched();
            }
        });
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
    auto first = firstUsed();
    double weeks = first ? -first->timeIntervalSinceNow() / kSecondsPerWeek : 0.0;
    double uses = static_cast<double>(usesCount());
    if (weeks <= 0.0) {
        // No time has passed: any use is an unbounded rate.
        return uses > 0.0 ? std::numeric_limits<float>::infinity() : 0.0f;
    }
    return static_cast<float>(uses / weeks);
}

bool RatePrompt::declinedThisVersion() const {
    return defaults()->stringForKey(kDeclinedVersionKey) == applicationVersion_;
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
            double grace = (static_cast<double>(daysUntilPrompt_) - 1.0) * kSecondsPerDay;
            if (-first->timeIntervalSinceNow() > grace) {
                setFirstUsed(NSDate::dateWithTimeIntervalSinceNow(-grace));
            }
        }
        if (auto listener = delegate()) {
            listener->RatePromptDidDetectAppUpdate();
        }
        NSNotificationCenter::defaultCenter()->postNotificationNameObject(
            "RatePromptDidDetectAppUpdate", nullptr);
    }
    setUsesCount(usesCount() + 1);
}

void RatePrompt::applicationWillEnterForeground() {
    if (UIApplication::sharedApplication()->applicationState() == UIApplicationState::Background) {
        setUsesCount(usesCount() + 1);
    }
}

void RatePrompt::promptForRating() {
    NSLog("RatePrompt cannot show the rating alert: alerts are not available yet");
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
        NSLog("RatePrompt cannot open the ratings page: the store identifier is not known");
        return;
    }
    std::string url = ratingsURL();
    if (verboseLogging_) {
        NSLog("RatePrompt will open the App Store ratings page using the following URL: %@", url);
    }
    UIApplication::sharedApplication()->openURL(url);
    if (auto listener = delegate()) {
        listener->RatePromptDidOpenAppStore();
    }
    NSNotificationCenter::defaultCenter()->postNotificationNameObject("RatePromptDidOpenAppStore",
                                                                      nullptr);
}
