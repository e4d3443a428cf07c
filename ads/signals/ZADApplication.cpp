#include "ads/signals/ZADApplication.h"

#include "ads/core/NSMutableString+ZADReplaceContentAdditions.h"
#include "ads/core/NSString+ZADURLEncoding.h"
#include "ads/core/NSURL+ZADNSURLUtilities.h"
#include "ads/core/ZADRequest.h"
#include "ads/render/ZADMRAIDInterceptor.h"
#include "ads/signals/ZADAbsoluteTime.h"
#include "ads/signals/ZADDevice.h"
#include "ads/signals/ZADPinger.h"
#include "ads/signals/ZADSession.h"
#include "ads/signals/ZADStatisticDictionary.h"
#include "platform/base/ClassRegistry.h"
#include "platform/base/NSThread.h"
#include "platform/base/ResettableSingleton.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIWindow.h"

#include <filesystem>
#include <mutex>

namespace {

ResettableSingleton<ZADApplication>& shared() {
    static ResettableSingleton<ZADApplication> application;
    return application;
}

// Set once the early activities have run in this process (main thread).
bool& startUpDone() {
    static bool done = false;
    return done;
}

bool boolSetting(const char* key) {
    return NSUserDefaults::standardUserDefaults()->boolForKey(key);
}

// The launch of the application starts the engine, as the platform's class-load hook
// would: the observer is registered when the program is loaded and never removed.
const bool launchObserved = [] {
    NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
        UIApplicationDidFinishLaunchingNotification, nullptr, dispatch_get_main_queue(),
        [](const NSNotification&) {
            auto application = ZADApplication::sharedInstance();
            application->appDidFinishLaunching();
            application->runEarlyActivities();
        });
    return true;
}();

} // namespace

ZADApplication::ZADApplication()
    : lockQueue_(
          dispatch_queue_create("com.zivido.vazer.application-ivar-lock", DISPATCH_QUEUE_SERIAL)),
      notificationSerialQueue_(dispatch_queue_create("com.zivido.vazer.application-notification",
                                                     DISPATCH_QUEUE_SERIAL)),
      statisticsSerialQueue_(
          dispatch_queue_create("com.zivido.vazer.application-statistics", DISPATCH_QUEUE_SERIAL)),
      currentSession_(ZADSession::init()), statistics_(ZADStatisticDictionary::init()) {
    auto bundle = NSBundle::mainBundle();
    version_ = bundle->objectForInfoDictionaryKey("CFBundleVersion").stringValue();
    if (auto identifier = bundle->bundleIdentifier(); !identifier.empty()) {
        mainBundleIdentifier_ = identifier;
    }
    statistics_->setObjectForKeyedSubscript(PlistValue(currentSession_->uniqueID()), "session_id");
    statistics_->decrementNumberForKeyShouldNotifyDelegate("preqs", false);
}

ZADApplication::~ZADApplication() {
    if (willEnterForegroundObserver_) {
        NSNotificationCenter::defaultCenter()->removeObserver(willEnterForegroundObserver_);
    }
    statistics_->didFinishModifying();
}

std::shared_ptr<ZADApplication> ZADApplication::sharedInstance() {
    return shared().instance([] {
        auto application = make<ZADApplication>();
        application->observeApplication();
        return application;
    });
}

void ZADApplication::resetForTesting() {
    shared().reset();
    startUpDone() = false;
}

void ZADApplication::observeApplication() {
    std::weak_ptr<ZADApplication> weak = self<ZADApplication>();
    willEnterForegroundObserver_ =
        NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
            UIApplicationWillEnterForegroundNotification, nullptr, dispatch_get_main_queue(),
            [weak](const NSNotification&) {
                if (auto self = weak.lock()) {
                    self->willEnterForeground();
                }
            });
}

// Start-up.

void ZADApplication::runEarlyActivities() {
    if (startUpDone()) {
        return;
    }
    // Each activity leaves a line in the event log, so the start can be followed.
    const auto start = [](const char* activity) {
        EventLog::record("ad start", activity);
    };
    start("device facts");
    ZADDevice::sharedInstance()->cacheStaticParameters();
    start("rich-media interceptor");
    ZADMRAIDInterceptor::allow();
    // Signed-in users' tokens, purchase reporting, crash reporting and the interstitial
    // pool have no part here yet.
    start("ping retries");
    ZADPinger::sharedInstance()->start();
    if (boolSetting("/zivido/ads/content_url_enabled")) {
        start("content hashing");
        startContentHashing();
    }
    start("foreground ping");
    willEnterForeground();
    startUpDone() = true;
}

bool ZADApplication::earlyActivitiesDone() {
    return startUpDone();
}

// Application facts.

bool ZADApplication::active() const {
    // A launch runs while the application is still inactive (or, launched for a background
    // task, in the background): ads asked for from the launch itself must load.
    if (UIApplication::sharedApplication()->applicationState() != UIApplicationState::Background) {
        return true;
    }
    return !appFinishedLaunching_;
}

bool ZADApplication::backgroundReloadingEnabled() const {
    return backgroundLoadingEnabled() && boolSetting("/zivido/ads/bg_reload_enabled");
}

bool ZADApplication::isSplitScreenEnabled() const {
    return boolSetting("/zivido/ads/application_supports_split_screen");
}

std::string ZADApplication::iTunesMetadataPath() {
    auto documents =
        NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true);
    if (documents.empty()) {
        return {};
    }
    const std::filesystem::path parent = std::filesystem::path(documents.front()).parent_path();
    return (parent / "iTunesMetadata.plist").lexically_normal().string();
}

PlistValue::Dictionary ZADApplication::iTunesMetadata() const {
    std::call_once(iTunesMetadataOnce_, [this] {
        const std::string path = iTunesMetadataPath();
        if (path.empty()) {
            return;
        }
        auto contents = NSPropertyListSerialization::propertyListWithContentsOfFile(path, nullptr);
        if (contents && contents->dictionary()) {
            iTunesMetadata_ = *contents->dictionary();
        }
    });
    return iTunesMetadata_;
}

std::shared_ptr<UIWindow> ZADApplication::mainWindow() const {
    auto application = UIApplication::sharedApplication();
    if (auto key = application->keyWindow()) {
        return key;
    }
    auto windows = application->windows();
    return windows.empty() ? nullptr : windows.back();
}

unsigned long ZADApplication::mainWindowSupportedInterfaceOrientations() const {
    return UIApplication::sharedApplication()->supportedInterfaceOrientationsForWindow(
        mainWindow());
}

uint64_t ZADApplication::nextActiveViewID() {
    uint64_t next = 0;
    dispatch_sync(lockQueue_, [&] { next = ++activeViewID_; });
    return next;
}

PlistValue::Dictionary ZADApplication::parameters() const {
    auto device = ZADDevice::sharedInstance();
    return {{"appversion", PlistValue(version_)},
            {"bundleid", PlistValue(mainBundleIdentifier_.value_or(""))},
            {"osversion", PlistValue(device->systemVersion())},
            {"rdid", PlistValue(device->rawDeviceIdentifier())},
            {"lat", PlistValue(device->limitAdTrackingString())},
            {"sdkversion", PlistValue(ZADRequest::sdkVersion())}};
}

// Adapters.

std::optional<std::vector<std::string>> ZADApplication::availableAdapterNames() const {
    std::optional<std::vector<std::string>> names;
    dispatch_sync(lockQueue_, [&] { names = availableAdapterNames_; });
    return names;
}

void ZADApplication::setAvailableAdapterNames(std::vector<std::string> names) {
    dispatch_sync(lockQueue_, [&] { availableAdapterNames_ = std::move(names); });
}

void ZADApplication::updateAvailableAdapterNamesWithPotentialAdapterNames(
    const std::optional<std::string>& potentialAdapterNames) {
    if (!potentialAdapterNames) {
        return;
    }
    std::vector<std::string> present;
    for (const auto& piece : NSString::componentsSeparatedByString(*potentialAdapterNames, ",")) {
        std::string name = NSString::stringByTrimmingWhitespaceAndNewlines(piece);
        if (!name.empty() && NSClassFromString(name)) {
            present.push_back(std::move(name));
        }
    }
    setAvailableAdapterNames(std::move(present));
}

// Statistics.

void ZADApplication::didUpdateStatisticDictionary(
    const std::shared_ptr<ZADStatisticDictionary>& dictionary) {
    // Called on the notification queue.
    adStatistics_.insert(dictionary);
}

ZADApplication::AdStatistics ZADApplication::pendingAdStatistics() {
    AdStatistics taken;
    dispatch_sync(notificationSerialQueue_, [&] { taken.swap(adStatistics_); });
    return taken;
}

void ZADApplication::didNotSendAdStatistics(const AdStatistics& statistics) {
    dispatch_sync(notificationSerialQueue_,
                  [&] { adStatistics_.insert(statistics.begin(), statistics.end()); });
}

void ZADApplication::incrementTotalAdRequestCount() {
    statistics_->incrementNumberForKeyShouldNotifyDelegate("preqs", false);
}

void ZADApplication::decrementTotalAdRequestCount() {
    statistics_->decrementNumberForKeyShouldNotifyDelegate("preqs", false);
}

void ZADApplication::incrementTotalAdClickCount() {
    statistics_->incrementNumberForKeyShouldNotifyDelegate("pclick", false);
}

void ZADApplication::incrementSequenceNumber() {
    statistics_->incrementNumberForKeyShouldNotifyDelegate("seq_num", false);
}

std::string ZADApplication::nextSequenceNumberAsString() {
    std::string text;
    dispatch_sync(statisticsSerialQueue_, [&] {
        incrementSequenceNumber();
        text = statistics_->objectForKeyedSubscript("preqs").stringValue();
    });
    return text;
}

uint64_t ZADApplication::timeSinceFirstAdRequestInMilliseconds() const {
    const PlistValue first = statistics_->objectForKeyedSubscript("basets");
    if (first.type() != PlistValue::Type::Integer) {
        return 0;
    }
    return ZADMonotonicTimeInMilliseconds() - static_cast<uint64_t>(first.integerValue());
}

PlistValue::Dictionary
ZADApplication::nextRequestStatisticsDictionaryForSlot(bool slotIsMediating) {
    PlistValue::Dictionary snapshot;
    dispatch_sync(statisticsSerialQueue_, [&] {
        const auto now = static_cast<long long>(ZADMonotonicTimeInMilliseconds());
        statistics_->setObjectForKeyedSubscript(PlistValue(now), "currts");
        if (statistics_->objectForKeyedSubscript("basets").isNull()) {
            statistics_->setObjectForKeyedSubscript(PlistValue(now), "basets");
        }
        incrementSequenceNumber();
        if (slotIsMediating) {
            decrementTotalAdRequestCount();
        } else {
            incrementTotalAdRequestCount();
        }
        snapshot = statistics_->dictionary();
    });
    return snapshot;
}

// The foreground ping.

void ZADApplication::willEnterForeground() {
    if (!boolSetting("/zivido/ads/foreground_ping_enabled")) {
        return;
    }
    const uint64_t foregroundMoment = ZADMonotonicTimeInMilliseconds();
    const PlistValue delaySetting =
        NSUserDefaults::standardUserDefaults()->objectForKey("/zivido/ads/foreground_ping_delay");
    double delay = kDefaultForegroundPingDelay;
    if (!delaySetting.isNull()) {
        const double seconds = PlistValue(delaySetting.stringValue()).doubleValue();
        if (seconds >= 0) {
            delay = seconds;
        }
    }
    std::weak_ptr<ZADApplication> weak = self<ZADApplication>();
    dispatch_after(delay, dispatch_get_main_queue(), [weak, foregroundMoment] {
        if (auto self = weak.lock()) {
            self->sendForegroundPing(foregroundMoment);
        }
    });
}

void ZADApplication::sendForegroundPing(uint64_t foregroundMoment) {
    std::string text =
        NSUserDefaults::standardUserDefaults()->stringForKey("/zivido/ads/foreground_ping_url");
    if (text.empty()) {
        return;
    }
    auto device = ZADDevice::sharedInstance();
    const double elapsed =
        static_cast<double>(ZADMonotonicTimeInMilliseconds() - foregroundMoment) / 1000;
    const auto seconds = static_cast<long>(NSDate::date().timeIntervalSince1970() - elapsed);
    // Every value is escaped as a query value: the template may put any of them into the
    // query.
    const auto escaped = [](const std::string& value) {
        return PlistValue(ZADURLEncoding::zad_stringByEscapingAsURLParameter(value));
    };
    PlistValue::Dictionary macros{{"ts", escaped(std::to_string(seconds))},
                                  {"lat", escaped(device->limitAdTrackingString())},
                                  {"id", escaped("wfocus")},
                                  {"app", escaped("1")},
                                  {"package_name", escaped(mainBundleIdentifier_.value_or(""))}};
    if (auto rdid = device->rawDeviceIdentifier(); !rdid.empty()) {
        macros["rdid"] = escaped(rdid);
    }
    ZADReplaceContentAdditions::zad_substituteAtQuotedKeywordsWithExpansionDictionary(text, macros);
    auto url = NSURL::URLWithString(text);
    if (!url) {
        return;
    }
    auto retry =
        ZADNSURLUtilities::zad_URLByAppendingQueryParameters(*url, {{"retry", PlistValue("1")}});
    ZADPinger::sharedInstance()->pingWithRetryGroupKeyURLRetryURLString(
        kForegroundPingGroup, url, retry ? retry->absoluteString() : url->absoluteString());
}
