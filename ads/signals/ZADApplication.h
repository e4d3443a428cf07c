// The engine's application-wide facts and state: the early activities run once per
// process, the application's version, bundle identifier, store metadata, windows and
// orientations, whether ads may load now, the mediation adapters present, and the
// application statistics every request carries ("session_id", the request count "preqs",
// the click count "pclick", the sequence number "seq_num", the latest and first request
// times "currts" and "basets" on the engine clock), with the statistics of single ads
// waiting to travel with the next request. Each time the application comes to the
// foreground (and at launch) it sends the foreground ping, when the server enables it.
//
// Any thread, except where a method says main thread: the adapter names live on the lock
// queue, the application statistics' steps on the statistics queue, the pending ad
// statistics on the notification queue.
#pragma once

#include "ads/signals/ZADStatisticDictionaryDelegate.h"
#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/PlistValue.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

class UIWindow;
class ZADSession;
class ZADStatisticDictionary;

class ZADApplication : public NSObject, public ZADStatisticDictionaryDelegate {
    NS_OBJECT(ZADApplication)
public:
    using AdStatistics = std::set<std::shared_ptr<ZADStatisticDictionary>>;
    static constexpr const char* kForegroundPingGroup = "zivido_fp";
    static constexpr double kDefaultForegroundPingDelay = 10.0;

    static std::shared_ptr<ZADApplication> sharedInstance();
    // A fresh object in place of the shared one, and the early activities not yet run
    // (between tests).
    static void resetForTesting();
    ~ZADApplication() override;

    // Start-up. Main thread; what it starts is started once per process, in this order:
    // the device's static facts, the rich-media script interceptor allowed, the pinger's
    // retry pass, content hashing when the server enables it, and a foreground ping.
    void runEarlyActivities();
    static bool earlyActivitiesDone();
    void appDidFinishLaunching() { appFinishedLaunching_ = true; }
    // Main thread. Content hashing comes with the content collection: until then an ad
    // response's switch finds nothing to start or stop.
    void startContentHashing() {}
    void stopContentHashing() {}

    // Application facts.
    // Info.plist's bundle version; "" when missing.
    const std::string& version() const { return version_; }
    const std::optional<std::string>& mainBundleIdentifier() const { return mainBundleIdentifier_; }
    const std::shared_ptr<ZADSession>& currentSession() const { return currentSession_; }
    const std::shared_ptr<ZADStatisticDictionary>& statistics() const { return statistics_; }
    // Main thread. Whether ads may load now: outside the background always; in the
    // background only while the launch has not finished.
    bool active() const;
    // Whether ads may load while the application is not active: only once the application
    // enabled it (ZADMobileAds).
    bool backgroundLoadingEnabled() const { return backgroundLoadingEnabled_; }
    void enableBackgroundAdLoading() { backgroundLoadingEnabled_ = true; }
    // And reload there: also the setting "/zivido/ads/bg_reload_enabled".
    bool backgroundReloadingEnabled() const;
    bool isSplitScreenEnabled() const;
    // "iTunesMetadata.plist" beside the documents folder; its dictionary, read once
    // (empty when it cannot be read).
    static std::string iTunesMetadataPath();
    PlistValue::Dictionary iTunesMetadata() const;
    // Main thread. The application's key window, else its frontmost one; null without any.
    std::shared_ptr<UIWindow> mainWindow() const;
    // Main thread. The orientations the main window allows.
    unsigned long mainWindowSupportedInterfaceOrientations() const;
    // 1, 2, 3 ...
    uint64_t nextActiveViewID();
    // "appversion", "bundleid", "osversion", "rdid", "lat", "sdkversion".
    PlistValue::Dictionary parameters() const;

    // The class names of the mediation adapters in the program; nothing until stored.
    std::optional<std::vector<std::string>> availableAdapterNames() const;
    void setAvailableAdapterNames(std::vector<std::string> names);
    // From the server's comma-separated candidates (nothing leaves the list unchanged):
    // those that name a class the program has registered.
    void updateAvailableAdapterNamesWithPotentialAdapterNames(
        const std::optional<std::string>& potentialAdapterNames);

    // Statistics.
    dispatch_queue_t notificationQueue() override { return notificationSerialQueue_; }
    void didUpdateStatisticDictionary(
        const std::shared_ptr<ZADStatisticDictionary>& dictionary) override;
    // The ad statistics changed since last taken, handed over (emptied here).
    AdStatistics pendingAdStatistics();
    // Statistics taken that did not leave: they wait for a later request.
    void didNotSendAdStatistics(const AdStatistics& statistics);
    void incrementTotalAdRequestCount();
    void decrementTotalAdRequestCount();
    void incrementTotalAdClickCount();
    void incrementSequenceNumber();
    // Raises "seq_num" and answers the request count's text (mediation's sequence number).
    std::string nextSequenceNumberAsString();
    // 0 before the first request.
    uint64_t timeSinceFirstAdRequestInMilliseconds() const;
    // One request's statistics: "currts" now, "basets" at the first, "seq_num" raised,
    // "preqs" raised (lowered for a mediating slot); the whole dictionary after that.
    PlistValue::Dictionary nextRequestStatisticsDictionaryForSlot(bool slotIsMediating);

    // Main thread. Schedules the foreground ping when the server enables it.
    void willEnterForeground();

private:
    ZADApplication();
    void observeApplication();
    void sendForegroundPing(uint64_t foregroundMoment);

    std::shared_ptr<DispatchQueue> lockQueue_;
    dispatch_queue_t notificationSerialQueue_;
    dispatch_queue_t statisticsSerialQueue_;
    std::string version_;
    std::optional<std::string> mainBundleIdentifier_;
    std::shared_ptr<ZADSession> currentSession_;
    std::shared_ptr<ZADStatisticDictionary> statistics_;
    std::atomic<bool> appFinishedLaunching_{false};
    std::atomic<bool> backgroundLoadingEnabled_{false};
    std::shared_ptr<NSObject> willEnterForegroundObserver_;
    // On the lock queue only.
    std::optional<std::vector<std::string>> availableAdapterNames_;
    uint64_t activeViewID_ = 0;
    // On the notification queue only.
    AdStatistics adStatistics_;
    // Read once, on first use.
    mutable std::once_flag iTunesMetadataOnce_;
    mutable PlistValue::Dictionary iTunesMetadata_;
};
