// The statistics of one ad or of the application: counters, timestamps and lists sent
// back to the ad server with later requests. Any thread: changes are queued on the
// dictionary's serial queue and reads wait on it, so a read sees the changes its thread
// queued before. A change that asks to notify tells the delegate on the delegate's queue;
// a burst of them queued before the notification goes out makes one notification.
// After didFinishModifying the dictionary is frozen: changes are dropped, no delegate.
// Counters are whole numbers; a missing one counts as 0; a key holding anything else is
// left alone by the counter and list operations.
#pragma once

#include "ads/signals/ZADStatisticDictionaryDelegate.h"
#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/PlistValue.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class ZADStatisticDictionary : public NSObject {
    NS_OBJECT(ZADStatisticDictionary)
public:
    static constexpr const char* kDefaultQueueLabel = "com.zivido.vazer.statistics";

    static std::shared_ptr<ZADStatisticDictionary>
    initWithQueueLabelDelegate(const std::string& label,
                               std::weak_ptr<ZADStatisticDictionaryDelegate> delegate);
    static std::shared_ptr<ZADStatisticDictionary>
    initWithDelegate(std::weak_ptr<ZADStatisticDictionaryDelegate> delegate);
    static std::shared_ptr<ZADStatisticDictionary> init();

    // A null value deletes the key.
    void setObjectForKeyShouldNotifyDelegate(PlistValue value, const std::string& key, bool notify);
    void setObjectForKeyedSubscript(PlistValue value, const std::string& key) {
        setObjectForKeyShouldNotifyDelegate(std::move(value), key, false);
    }
    // Null when absent.
    PlistValue objectForKeyedSubscript(const std::string& key) const;
    void addNumberToNumberForKeyShouldNotifyDelegate(int64_t amount, const std::string& key,
                                                     bool notify);
    void incrementNumberForKeyShouldNotifyDelegate(const std::string& key, bool notify) {
        addNumberToNumberForKeyShouldNotifyDelegate(1, key, notify);
    }
    void decrementNumberForKeyShouldNotifyDelegate(const std::string& key, bool notify) {
        addNumberToNumberForKeyShouldNotifyDelegate(-1, key, notify);
    }
    void addObjectToArrayWithKeyShouldNotifyDelegate(PlistValue value, const std::string& key,
                                                     bool notify);
    PlistValue::Dictionary dictionary() const;
    void didFinishModifying();

    std::shared_ptr<ZADStatisticDictionaryDelegate> delegate() const;
    void setDelegate(std::weak_ptr<ZADStatisticDictionaryDelegate> delegate);
    std::string description() const override;

private:
    explicit ZADStatisticDictionary(const std::string& label);
    // Queues `change` and, when asked, one notification.
    void modify(std::function<void(PlistValue::Dictionary&)> change, bool notify);

    dispatch_queue_t serialQueue_;
    std::string label_;
    mutable std::mutex delegateLock_;
    std::weak_ptr<ZADStatisticDictionaryDelegate> delegate_;
    // On the serial queue only.
    PlistValue::Dictionary statistics_;
    bool allowDictionaryModification_ = true;
    bool hasEnqueuedNotificationBlock_ = false;
};
