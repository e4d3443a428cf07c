#include "ads/signals/ZADTimingManager.h"

#include "ads/signals/ZADTiming.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/WeakAction.h"

ZADTimingManager::ZADTimingManager()
    : savingQueue_(dispatch_queue_create("com.zivido.vazer.timing", DISPATCH_QUEUE_SERIAL)) {}

std::shared_ptr<ZADTimingManager> ZADTimingManager::init() {
    auto manager = make<ZADTimingManager>();
    NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
        manager, weakAction(manager, &ZADTimingManager::applicationWillTerminate),
        UIApplicationWillTerminateNotification, nullptr);
    return manager;
}

ZADTimingManager::~ZADTimingManager() {
    // The queued saves hold what they write, not the manager: waiting for them keeps the
    // record whole when the owner goes just after a change.
    dispatch_sync(savingQueue_, [] {});
}

void ZADTimingManager::setIdentifier(std::string identifier) {
    identifier_ = std::move(identifier);
    userDefaultsKey_ = "zivido_timing_" + identifier_;
    loadPersistentTimings();
}

void ZADTimingManager::loadPersistentTimings() {
    if (!userDefaultsKey_) {
        return;
    }
    const PlistValue stored =
        NSUserDefaults::standardUserDefaults()->objectForKey(*userDefaultsKey_);
    if (stored.isNull()) {
        return;
    }
    const auto* record = stored.dictionary();
    if (!record) {
        NSLog("Ignoring the timings under %@: not a dictionary", *userDefaultsKey_);
        return;
    }
    for (const auto& [category, value] : *record) {
        const auto* form = value.dictionary();
        auto timing = form ? ZADTiming::initWithDictionaryRepresentation(*form) : nullptr;
        if (!timing) {
            NSLog("Ignoring the timing %@ under %@: not a timing", category, *userDefaultsKey_);
            continue;
        }
        timings_[category] = std::move(timing);
    }
}

void ZADTimingManager::savePersistentTimings() {
    if (!userDefaultsKey_) {
        return;
    }
    dispatch_async(savingQueue_, [key = *userDefaultsKey_, timings = timings_] {
        // Each form is read on its timing's queue, after whatever was queued there before.
        PlistValue::Dictionary record;
        for (const auto& [category, timing] : timings) {
            record[category] = PlistValue(timing->dictionaryRepresentation());
        }
        auto defaults = NSUserDefaults::standardUserDefaults();
        defaults->setObjectForKey(PlistValue(std::move(record)), key);
        defaults->synchronize();
    });
}

void ZADTimingManager::addTiming(const std::shared_ptr<ZADTiming>& timing) {
    if (timing) {
        timings_[timing->category()] = timing;
    }
    savePersistentTimings();
}

std::shared_ptr<ZADTiming> ZADTimingManager::addTimingWithCategory(const std::string& category) {
    auto timing = ZADTiming::initWithCategory(category);
    addTiming(timing);
    return timing;
}

std::shared_ptr<ZADTiming> ZADTimingManager::timingForCategory(const std::string& category) const {
    auto found = timings_.find(category);
    return found == timings_.end() ? nullptr : found->second;
}

void ZADTimingManager::removeTiming(const std::shared_ptr<ZADTiming>& timing) {
    if (timing) {
        removeTimingForCategory(timing->category());
    }
}

void ZADTimingManager::removeTimingForCategory(const std::string& category) {
    timings_.erase(category);
}

void ZADTimingManager::removeTimingsForCategories(const std::vector<std::string>& categories) {
    for (const auto& category : categories) {
        removeTimingForCategory(category);
    }
}

void ZADTimingManager::removeAllTimings() {
    timings_.clear();
}

std::vector<std::shared_ptr<ZADTiming>> ZADTimingManager::timings() const {
    std::vector<std::shared_ptr<ZADTiming>> all;
    for (const auto& [category, timing] : timings_) {
        all.push_back(timing);
    }
    return all;
}

std::vector<std::string> ZADTimingManager::categories() const {
    std::vector<std::string> all;
    for (const auto& [category, timing] : timings_) {
        all.push_back(category);
    }
    return all;
}

void ZADTimingManager::applicationWillTerminate() {
    dispatch_sync(savingQueue_, [] {});
}
