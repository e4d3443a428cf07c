// Broadcasts notifications to the observers registered for them, synchronously on the
// posting thread, in registration order. Observers and sender filters are held weakly.
// Any thread.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSNotification.h"
#include "platform/foundation/PlistValue.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class DispatchQueue;

class NSNotificationCenter : public NSObject {
    NS_OBJECT(NSNotificationCenter)
public:
    using Handler = std::function<void(const NSNotification&)>;

    static std::shared_ptr<NSNotificationCenter> defaultCenter();
    // Removes every registration of the default centre (between tests).
    static void resetForTesting();

    // Calls `selector` for notifications named `name` (empty: any name) posted by `object`
    // (null: any sender) while `observer` is alive.
    void addObserverSelectorNameObject(const std::shared_ptr<NSObject>& observer, Handler selector,
                                       const std::string& name,
                                       const std::shared_ptr<NSObject>& object);
    // The same with a block; returns the observer token, which the centre keeps until
    // removeObserver(token). With a queue, the block runs asynchronously there.
    std::shared_ptr<NSObject>
    addObserverForNameObjectQueueUsingBlock(const std::string& name,
                                            const std::shared_ptr<NSObject>& object,
                                            std::shared_ptr<DispatchQueue> queue, Handler block);

    void removeObserver(const std::shared_ptr<NSObject>& observer);
    // Removes the observer's registrations matching name and object (empty / null: any).
    void removeObserverNameObject(const std::shared_ptr<NSObject>& observer,
                                  const std::string& name, const std::shared_ptr<NSObject>& object);

    void postNotification(const std::shared_ptr<NSNotification>& notification);
    void postNotificationNameObject(const std::string& name,
                                    const std::shared_ptr<NSObject>& object);
    void postNotificationNameObjectUserInfo(const std::string& name,
                                            const std::shared_ptr<NSObject>& object,
                                            PlistValue::Dictionary userInfo);

private:
    struct Registration {
        std::weak_ptr<NSObject> observer;
        std::shared_ptr<NSObject> token; // block observers: kept until removed
        std::string name;
        bool filtersSender;
        std::weak_ptr<NSObject> sender;
        std::shared_ptr<DispatchQueue> queue;
        Handler handler;
        // Set on removal, so a post already under way skips it.
        std::atomic<bool> removed{false};
    };

    void add(std::shared_ptr<Registration> registration);
    void removeMatching(const std::shared_ptr<NSObject>& observer, const std::string& name,
                        const std::shared_ptr<NSObject>& object);
    void pruneDeadObservers();

    std::mutex mutex_;
    std::vector<std::shared_ptr<Registration>> registrations_;
};
