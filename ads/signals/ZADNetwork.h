// The device's network type, followed through the reachability of the ad server's host:
// 0 unknown (checking off, or no answer yet), 1 not reachable, 2 reachable not over the
// cellular network ("wi"), 3 over the cellular network ("ed"). Requests send the current
// type's code as "net" and the last type of 2 or more as "net_last"; types 0 and 1 have no
// code. The last known type survives checking being switched off and on.
// Any thread: the fields live on the network's serial queue (reads wait, changes are
// queued); reachability answers arrive on a queue of their own.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"
#include "platform/systemconfiguration/SCNetworkReachability.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class ZADNetwork : public NSObject {
    NS_OBJECT(ZADNetwork)
public:
    enum Type : uint64_t { Unknown = 0, NotReachable = 1, WiFi = 2, Cellular = 3 };

    static std::shared_ptr<ZADNetwork> init();
    ~ZADNetwork() override;

    // Follows `host` from now on (type 0 until its first answer); nothing while already
    // following one.
    void enableNetworkCheckingForHost(const std::string& host);
    void disableNetworkChecking();
    void setNetworkTypeFromFlags(SCNetworkReachabilityFlags flags);
    // A change to another type; a non-zero one counts, and one of 2 or more is remembered.
    void setNetworkType(Type type);

    Type networkType() const;
    uint64_t changeCount() const;
    std::optional<std::string> networkTypeString() const;
    std::optional<std::string> lastKnownNetworkTypeString() const;

private:
    ZADNetwork();

    dispatch_queue_t lockQueue_;
    dispatch_queue_t enableCheckingQueue_;
    // On the lock queue only.
    uint64_t changeCount_ = 0;
    Type networkType_ = Unknown;
    Type lastKnownNetworkType_ = Unknown;
    std::shared_ptr<SCNetworkReachability> networkReachability_;
};
