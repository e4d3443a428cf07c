// Whether a host can be reached, watched: a reachability object for a host name, once
// given a queue, looks the name up (getaddrinfo, off the calling thread) and calls its
// callback on that queue with the flags whenever they change, the first answer included.
// It looks again every `kRecheckInterval` seconds of the run loop's clock while it has a
// queue. A name that resolves is reachable; this machine has no cellular network, so the
// WWAN flag is never set.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

using SCNetworkReachabilityFlags = uint32_t;
inline constexpr SCNetworkReachabilityFlags kSCNetworkReachabilityFlagsReachable = 1u << 1;
inline constexpr SCNetworkReachabilityFlags kSCNetworkReachabilityFlagsIsWWAN = 1u << 18;

class SCNetworkReachability : public NSObject {
    NS_OBJECT(SCNetworkReachability)
public:
    using Callback = std::function<void(SCNetworkReachabilityFlags flags)>;
    static constexpr double kRecheckInterval = 30.0;

    // Null for an empty name.
    static std::shared_ptr<SCNetworkReachability> createWithName(const std::string& host);
    // When on, names other than this machine's loopback ones are unreachable without a look
    // up (tests, so that nothing leaves the machine).
    static void setLoopbackOnly(bool loopbackOnly);
    // Whether the name resolves to an address now (blocks while it is looked up).
    static bool nameResolves(const std::string& host);

    const std::string& host() const { return host_; }
    void setCallback(Callback callback);
    // A queue starts the watch (false when there is no callback); null stops it.
    bool setDispatchQueue(dispatch_queue_t queue);
    // The flags of the last look-up; nothing before the first answer.
    std::optional<SCNetworkReachabilityFlags> flags() const;

private:
    explicit SCNetworkReachability(std::string host) : host_(std::move(host)) {}
    // Looks the name up on a global queue, answers on the watch's queue, and plans the next
    // look while the watch of that generation lasts.
    void check(uint64_t generation);
    void answer(uint64_t generation, SCNetworkReachabilityFlags flags);

    const std::string host_;
    mutable std::mutex mutex_;
    Callback callback_;
    dispatch_queue_t queue_;
    // Raised by every setDispatchQueue, so that the looks of an ended watch stop.
    uint64_t generation_ = 0;
    std::optional<SCNetworkReachabilityFlags> flags_;
};
