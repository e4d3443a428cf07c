#include "platform/systemconfiguration/SCNetworkReachability.h"

#include "platform/foundation/NSURL.h"

#include <atomic>
#include <netdb.h>
#include <sys/socket.h>

namespace {

std::atomic<bool>& loopbackOnly() {
    static std::atomic<bool> only{false};
    return only;
}

bool isLoopbackName(const std::string& host) {
    auto url = NSURL::URLWithString("http://" + host + "/");
    return url && url->isLoopbackHost();
}

} // namespace

bool SCNetworkReachability::nameResolves(const std::string& host) {
    if (loopbackOnly() && !isLoopbackName(host)) {
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const bool resolved = ::getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0;
    if (found) {
        ::freeaddrinfo(found);
    }
    return resolved;
}

std::shared_ptr<SCNetworkReachability>
SCNetworkReachability::createWithName(const std::string& host) {
    if (host.empty()) {
        return nullptr;
    }
    return make<SCNetworkReachability>(host);
}

void SCNetworkReachability::setLoopbackOnly(bool only) {
    loopbackOnly() = only;
}

void SCNetworkReachability::setCallback(Callback callback) {
    std::lock_guard lock(mutex_);
    callback_ = std::move(callback);
}

bool SCNetworkReachability::setDispatchQueue(dispatch_queue_t queue) {
    uint64_t generation = 0;
    {
        std::lock_guard lock(mutex_);
        if (queue && !callback_) {
            return false;
        }
        queue_ = std::move(queue);
        generation = ++generation_;
        if (!queue_) {
            return true;
        }
    }
    check(generation);
    return true;
}

std::optional<SCNetworkReachabilityFlags> SCNetworkReachability::flags() const {
    std::lock_guard lock(mutex_);
    return flags_;
}

void SCNetworkReachability::check(uint64_t generation) {
    std::weak_ptr<SCNetworkReachability> weak = self<SCNetworkReachability>();
    dispatch_async(dispatch_get_global_queue(0, 0), [weak, generation, host = host_] {
        const SCNetworkReachabilityFlags flags =
            nameResolves(host) ? kSCNetworkReachabilityFlagsReachable : 0;
        if (auto reachability = weak.lock()) {
            reachability->answer(generation, flags);
        }
    });
}

void SCNetworkReachability::answer(uint64_t generation, SCNetworkReachabilityFlags flags) {
    dispatch_queue_t queue;
    Callback callback;
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        if (generation != generation_ || !queue_) {
            return;
        }
        changed = flags_ != flags;
        flags_ = flags;
        queue = queue_;
        callback = callback_;
    }
    if (changed && callback) {
        dispatch_async(queue, [callback, flags] { callback(flags); });
    }
    std::weak_ptr<SCNetworkReachability> weak = self<SCNetworkReachability>();
    dispatch_after(kRecheckInterval, queue, [weak, generation] {
        if (auto reachability = weak.lock()) {
            reachability->check(generation);
        }
    });
}
