#include "platform/foundation/NSNotificationCenter.h"

#include "platform/dispatch/DispatchQueue.h"

#include <algorithm>
#include <cstdio>

namespace {
// Identity of the object behind a weak reference, which stays distinct from any object
// later made at the same address.
bool sameObject(const std::weak_ptr<NSObject>& held, const std::shared_ptr<NSObject>& object) {
    return !held.owner_before(object) && !object.owner_before(held);
}
} // namespace

std::shared_ptr<NSNotificationCenter> NSNotificationCenter::defaultCenter() {
    // Never destroyed: observers may post from other threads while the process exits.
    static const auto& center =
        *new std::shared_ptr<NSNotificationCenter>(std::make_shared<NSNotificationCenter>());
    return center;
}

void NSNotificationCenter::resetForTesting() {
    const auto& center = defaultCenter();
    std::vector<std::shared_ptr<Registration>> dropped;
    std::lock_guard lock(center->mutex_);
    for (const auto& registration : center->registrations_) {
        registration->removed = true;
    }
    dropped.swap(center->registrations_);
}

void NSNotificationCenter::addObserverSelectorNameObject(const std::shared_ptr<NSObject>& observer,
                                                         Handler selector, const std::string& name,
                                                         const std::shared_ptr<NSObject>& object) {
    if (!observer || !selector) {
        std::fprintf(stderr, "NSNotificationCenter: ignoring an observer without %s\n",
                     observer ? "a selector" : "an object");
        return;
    }
    auto registration = std::make_shared<Registration>();
    registration->observer = observer;
    registration->name = name;
    registration->filtersSender = static_cast<bool>(object);
    registration->sender = object;
    registration->handler = std::move(selector);
    add(std::move(registration));
}

std::shared_ptr<NSObject> NSNotificationCenter::addObserverForNameObjectQueueUsingBlock(
    const std::string& name, const std::shared_ptr<NSObject>& object,
    std::shared_ptr<DispatchQueue> queue, Handler block) {
    auto token = std::make_shared<NSObject>();
    if (!block) {
        std::fprintf(stderr, "NSNotificationCenter: ignoring an observer without a block\n");
        return token;
    }
    auto registration = std::make_shared<Registration>();
    registration->observer = token;
    registration->token = token;
    registration->name = name;
    registration->filtersSender = static_cast<bool>(object);
    registration->sender = object;
    registration->queue = std::move(queue);
    registration->handler = std::move(block);
    add(std::move(registration));
    return token;
}

void NSNotificationCenter::add(std::shared_ptr<Registration> registration) {
    std::lock_guard lock(mutex_);
    registrations_.push_back(std::move(registration));
}

void NSNotificationCenter::removeObserver(const std::shared_ptr<NSObject>& observer) {
    removeMatching(observer, "", nullptr);
}

void NSNotificationCenter::removeObserverNameObject(const std::shared_ptr<NSObject>& observer,
                                                    const std::string& name,
                                                    const std::shared_ptr<NSObject>& object) {
    removeMatching(observer, name, object);
}

void NSNotificationCenter::removeMatching(const std::shared_ptr<NSObject>& observer,
                                          const std::string& name,
                                          const std::shared_ptr<NSObject>& object) {
    if (!observer) {
        return;
    }
    std::vector<std::shared_ptr<Registration>> removed; // released outside the lock
    std::lock_guard lock(mutex_);
    std::erase_if(registrations_, [&](const std::shared_ptr<Registration>& registration) {
        bool matches = sameObject(registration->observer, observer) &&
                       (name.empty() || registration->name == name) &&
                       (!object || sameObject(registration->sender, object));
        if (matches) {
            registration->removed = true;
            removed.push_back(registration);
        }
        return matches;
    });
}

void NSNotificationCenter::postNotification(const std::shared_ptr<NSNotification>& notification) {
    if (!notification) {
        std::fprintf(stderr, "NSNotificationCenter: ignoring a null notification\n");
        return;
    }
    // A snapshot: observers may add or remove registrations while being called.
    std::vector<std::shared_ptr<Registration>> snapshot;
    {
        std::lock_guard lock(mutex_);
        snapshot = registrations_;
    }
    bool sawDeadObserver = false;
    for (const auto& registration : snapshot) {
        if (registration->removed) {
            continue;
        }
        // Held for the call, so the observer cannot vanish while it runs.
        std::shared_ptr<NSObject> observer = registration->observer.lock();
        if (!observer) {
            sawDeadObserver = true;
            continue;
        }
        if (!registration->name.empty() && registration->name != notification->name()) {
            continue;
        }
        if (registration->filtersSender &&
            (!notification->object() ||
             !sameObject(registration->sender, notification->object()))) {
            continue;
        }
        if (registration->queue) {
            registration->queue->async(
                [handler = registration->handler, notification] { handler(*notification); });
        } else {
            registration->handler(*notification);
        }
    }
    if (sawDeadObserver) {
        pruneDeadObservers();
    }
}

void NSNotificationCenter::pruneDeadObservers() {
    std::vector<std::shared_ptr<Registration>> removed; // released outside the lock
    std::lock_guard lock(mutex_);
    std::erase_if(registrations_, [&](const std::shared_ptr<Registration>& registration) {
        bool dead = registration->observer.expired();
        if (dead) {
            removed.push_back(registration);
        }
        return dead;
    });
}

void NSNotificationCenter::postNotificationNameObject(const std::string& name,
                                                      const std::shared_ptr<NSObject>& object) {
    postNotification(NSNotification::notificationWithNameObjectUserInfo(name, object));
}

void NSNotificationCenter::postNotificationNameObjectUserInfo(
    const std::string& name, const std::shared_ptr<NSObject>& object,
    PlistValue::Dictionary userInfo) {
    postNotification(
        NSNotification::notificationWithNameObjectUserInfo(name, object, std::move(userInfo)));
}
