#include "ads/signals/ZADStatisticDictionary.h"

#include "platform/foundation/NSJSONSerialization.h"

#include <cstdio>

ZADStatisticDictionary::ZADStatisticDictionary(const std::string& label)
    : serialQueue_(dispatch_queue_create(label, DISPATCH_QUEUE_SERIAL)), label_(label) {}

std::shared_ptr<ZADStatisticDictionary> ZADStatisticDictionary::initWithQueueLabelDelegate(
    const std::string& label, std::weak_ptr<ZADStatisticDictionaryDelegate> delegate) {
    auto dictionary = make<ZADStatisticDictionary>(label);
    dictionary->delegate_ = std::move(delegate);
    return dictionary;
}

std::shared_ptr<ZADStatisticDictionary>
ZADStatisticDictionary::initWithDelegate(std::weak_ptr<ZADStatisticDictionaryDelegate> delegate) {
    return initWithQueueLabelDelegate(kDefaultQueueLabel, std::move(delegate));
}

std::shared_ptr<ZADStatisticDictionary> ZADStatisticDictionary::init() {
    return initWithDelegate({});
}

void ZADStatisticDictionary::modify(std::function<void(PlistValue::Dictionary&)> change,
                                    bool notify) {
    dispatch_async(serialQueue_,
                   [self = self<ZADStatisticDictionary>(), change = std::move(change), notify] {
                       if (!self->allowDictionaryModification_) {
                           return;
                       }
                       change(self->statistics_);
                       if (!notify || self->hasEnqueuedNotificationBlock_) {
                           return;
                       }
                       self->hasEnqueuedNotificationBlock_ = true;
                       dispatch_async(self->serialQueue_, [self] {
                           self->hasEnqueuedNotificationBlock_ = false;
                           auto delegate = self->delegate();
                           if (!delegate) {
                               return;
                           }
                           if (auto queue = delegate->notificationQueue()) {
                               dispatch_async(queue, [delegate, self] {
                                   delegate->didUpdateStatisticDictionary(self);
                               });
                           }
                       });
                   });
}

void ZADStatisticDictionary::setObjectForKeyShouldNotifyDelegate(PlistValue value,
                                                                 const std::string& key,
                                                                 bool notify) {
    modify(
        [value = std::move(value), key](PlistValue::Dictionary& statistics) {
            if (value.isNull()) {
                statistics.erase(key);
            } else {
                statistics[key] = value;
            }
        },
        notify);
}

PlistValue ZADStatisticDictionary::objectForKeyedSubscript(const std::string& key) const {
    PlistValue value;
    dispatch_sync(serialQueue_, [&] {
        if (auto found = statistics_.find(key); found != statistics_.end()) {
            value = found->second;
        }
    });
    return value;
}

void ZADStatisticDictionary::addNumberToNumberForKeyShouldNotifyDelegate(int64_t amount,
                                                                         const std::string& key,
                                                                         bool notify) {
    modify(
        [amount, key](PlistValue::Dictionary& statistics) {
            auto found = statistics.find(key);
            if (found == statistics.end()) {
                statistics[key] = PlistValue(static_cast<long long>(amount));
            } else if (found->second.type() == PlistValue::Type::Integer) {
                found->second =
                    PlistValue(static_cast<long long>(found->second.integerValue() + amount));
            }
        },
        notify);
}

void ZADStatisticDictionary::addObjectToArrayWithKeyShouldNotifyDelegate(PlistValue value,
                                                                         const std::string& key,
                                                                         bool notify) {
    modify(
        [value = std::move(value), key](PlistValue::Dictionary& statistics) {
            auto found = statistics.find(key);
            if (found == statistics.end()) {
                statistics[key] = PlistValue(PlistValue::Array{value});
            } else if (const auto* array = found->second.array()) {
                PlistValue::Array longer = *array;
                longer.push_back(value);
                found->second = PlistValue(std::move(longer));
            }
        },
        notify);
}

PlistValue::Dictionary ZADStatisticDictionary::dictionary() const {
    PlistValue::Dictionary copy;
    dispatch_sync(serialQueue_, [&] { copy = statistics_; });
    return copy;
}

void ZADStatisticDictionary::didFinishModifying() {
    dispatch_sync(serialQueue_, [&] { allowDictionaryModification_ = false; });
    dispatch_sync(serialQueue_, [&] {
        // Notifications already posted to the delegate run before it is let go.
        if (auto delegate = this->delegate()) {
            if (auto queue = delegate->notificationQueue()) {
                dispatch_sync(queue, [] {});
            }
        }
    });
    setDelegate({});
}

std::shared_ptr<ZADStatisticDictionaryDelegate> ZADStatisticDictionary::delegate() const {
    std::lock_guard lock(delegateLock_);
    return delegate_.lock();
}

void ZADStatisticDictionary::setDelegate(std::weak_ptr<ZADStatisticDictionaryDelegate> delegate) {
    std::lock_guard lock(delegateLock_);
    delegate_ = std::move(delegate);
}

std::string ZADStatisticDictionary::description() const {
    const PlistValue contents(dictionary());
    std::string text;
    if (auto json = NSJSONSerialization::dataWithJSONObjectOptionsError(
            contents, NSJSONWritingPrettyPrinted, nullptr)) {
        text.assign(json->begin(), json->end());
    } else {
        text = contents.description();
    }
    char head[160];
    std::snprintf(head, sizeof head, "<%s: %p>\nqueue: %s\nstatistics: ", className().c_str(),
                  static_cast<const void*>(this), label_.c_str());
    return head + text;
}
