// The one shared object of a class: made on first use, from any thread, and dropped
// between tests so that the next use makes a fresh one.
#pragma once

#include <memory>
#include <mutex>

template <class T> class ResettableSingleton {
public:
    // The shared object; `makeInstance` makes it when there is none.
    template <class Make> std::shared_ptr<T> instance(Make&& makeInstance) {
        std::lock_guard lock(mutex_);
        if (!instance_) {
            instance_ = makeInstance();
        }
        return instance_;
    }

    // Drops the shared object; it goes once its last user lets go, outside the lock.
    void reset() {
        std::shared_ptr<T> dropped;
        std::lock_guard lock(mutex_);
        dropped.swap(instance_);
    }

private:
    std::mutex mutex_;
    std::shared_ptr<T> instance_;
};
