// A thread-safe store of objects by key that may drop entries on its own: beyond its count
// limit it drops the entry stored longest ago (the platform leaves the choice open; callers
// may rely on no particular one). A limit of 0 means none.
#pragma once

#include <cstddef>
#include <list>
#include <map>
#include <memory>
#include <mutex>

template <class Key, class Value> class NSCache {
public:
    std::shared_ptr<Value> objectForKey(const Key& key) const {
        std::lock_guard lock(mutex_);
        const auto found = entries_.find(key);
        return found == entries_.end() ? nullptr : found->second.value;
    }
    void setObjectForKey(std::shared_ptr<Value> value, const Key& key) {
        std::lock_guard lock(mutex_);
        removeLocked(key);
        order_.push_back(key);
        entries_.emplace(key, Entry{std::move(value), std::prev(order_.end())});
        trimLocked();
    }
    void removeObjectForKey(const Key& key) {
        std::lock_guard lock(mutex_);
        removeLocked(key);
    }
    void removeAllObjects() {
        std::lock_guard lock(mutex_);
        entries_.clear();
        order_.clear();
    }
    void setCountLimit(size_t limit) {
        std::lock_guard lock(mutex_);
        countLimit_ = limit;
        trimLocked();
    }

private:
    struct Entry {
        std::shared_ptr<Value> value;
        typename std::list<Key>::iterator stored;
    };

    void removeLocked(const Key& key) {
        const auto found = entries_.find(key);
        if (found != entries_.end()) {
            order_.erase(found->second.stored);
            entries_.erase(found);
        }
    }
    void trimLocked() {
        while (countLimit_ > 0 && entries_.size() > countLimit_) {
            entries_.erase(order_.front());
            order_.pop_front();
        }
    }

    mutable std::mutex mutex_;
    std::map<Key, Entry> entries_;
    // Keys from the one stored longest ago.
    std::list<Key> order_;
    size_t countLimit_ = 0;
};
