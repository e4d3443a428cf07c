#include "ads/signals/ZADStatisticsCore.h"

#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/WeakAction.h"

ZADStatisticsCore::ZADStatisticsCore()
    : lockQueue_(dispatch_queue_create("com.zivido.vazer.statistics", DISPATCH_QUEUE_SERIAL)) {}

std::shared_ptr<ZADStatisticsCore> ZADStatisticsCore::init() {
    auto core = make<ZADStatisticsCore>();
    NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
        core, weakAction(core, &ZADStatisticsCore::applicationWillTerminate),
        UIApplicationWillTerminateNotification, nullptr);
    return core;
}

void ZADStatisticsCore::setIdentifier(const std::string& identifier) {
    std::optional<std::string> key;
    if (!identifier.empty()) {
        key = "zivido_stats_" + identifier;
    }
    dispatch_async(lockQueue_, [self = self<ZADStatisticsCore>(), key = std::move(key)] {
        if (key == self->userDefaultsKey_) {
            return;
        }
        self->userDefaultsKey_ = key;
        if (!key) {
            return;
        }
        const PlistValue stored = NSUserDefaults::standardUserDefaults()->objectForKey(*key);
        if (stored.isNull()) {
            return;
        }
        const auto* record = stored.dictionary();
        bool damaged = record == nullptr;
        if (record) {
            for (const auto& [name, value] : *record) {
                if (!value.array()) {
                    damaged = true;
                    continue;
                }
                self->statistics_[name] = value;
            }
        }
        if (damaged) {
            NSLog("Ignoring what is not a list of statistics under %@", *key);
            self->savePersistentStatistics();
        }
    });
}

PlistValue::Dictionary ZADStatisticsCore::statistics() const {
    PlistValue::Dictionary copy;
    dispatch_sync(lockQueue_, [&] { copy = statistics_; });
    return copy;
}

PlistValue ZADStatisticsCore::arrayForKey(const std::string& key) const {
    PlistValue value;
    dispatch_sync(lockQueue_, [&] {
        if (auto found = statistics_.find(key); found != statistics_.end()) {
            value = found->second;
        }
    });
    return value;
}

void ZADStatisticsCore::appendStringToArrayForKey(const std::string& text, const std::string& key) {
    append(PlistValue(text), key);
}

void ZADStatisticsCore::appendDictionaryToArrayForKey(const PlistValue::Dictionary& entry,
                                                      const std::string& key) {
    append(PlistValue(entry), key);
}

void ZADStatisticsCore::append(PlistValue value, const std::string& key) {
    dispatch_async(lockQueue_, [self = self<ZADStatisticsCore>(), value = std::move(value), key] {
        auto& slot = self->statistics_[key];
        PlistValue::Array list = slot.array() ? *slot.array() : PlistValue::Array{};
        list.push_back(value);
        slot = PlistValue(std::move(list));
        self->savePersistentStatistics();
    });
}

void ZADStatisticsCore::removeObjectForKey(const std::string& key) {
    dispatch_async(lockQueue_, [self = self<ZADStatisticsCore>(), key] {
        self->statistics_.erase(key);
        self->savePersistentStatistics();
    });
}

void ZADStatisticsCore::savePersistentStatistics() {
    if (!userDefaultsKey_) {
        return;
    }
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObjectForKey(PlistValue(statistics_), *userDefaultsKey_);
    defaults->synchronize();
}

void ZADStatisticsCore::applicationWillTerminate() {
    dispatch_sync(lockQueue_, [] {});
}
