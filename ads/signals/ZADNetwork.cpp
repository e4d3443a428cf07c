#include "ads/signals/ZADNetwork.h"

namespace {

std::optional<std::string> codeOf(ZADNetwork::Type type) {
    switch (type) {
    case ZADNetwork::WiFi:
        return "wi";
    case ZADNetwork::Cellular:
        return "ed";
    default:
        return std::nullopt;
    }
}

} // namespace

ZADNetwork::ZADNetwork()
    : lockQueue_(dispatch_queue_create("com.zivido.vazer.network", DISPATCH_QUEUE_SERIAL)),
      enableCheckingQueue_(
          dispatch_queue_create("com.zivido.vazer.network-enable", DISPATCH_QUEUE_SERIAL)) {}

std::shared_ptr<ZADNetwork> ZADNetwork::init() {
    return make<ZADNetwork>();
}

ZADNetwork::~ZADNetwork() {
    if (networkReachability_) {
        networkReachability_->setDispatchQueue(nullptr);
    }
}

void ZADNetwork::enableNetworkCheckingForHost(const std::string& host) {
    std::weak_ptr<ZADNetwork> weak = self<ZADNetwork>();
    dispatch_sync(lockQueue_, [&] {
        if (networkReachability_) {
            return;
        }
        networkType_ = Unknown;
        auto reachability = SCNetworkReachability::createWithName(host);
        if (!reachability) {
            return;
        }
        reachability->setCallback([weak](SCNetworkReachabilityFlags flags) {
            if (auto network = weak.lock()) {
                network->setNetworkTypeFromFlags(flags);
            }
        });
        if (reachability->setDispatchQueue(enableCheckingQueue_)) {
            networkReachability_ = std::move(reachability);
        }
    });
}

void ZADNetwork::disableNetworkChecking() {
    dispatch_sync(lockQueue_, [&] {
        if (!networkReachability_) {
            return;
        }
        networkReachability_->setDispatchQueue(nullptr);
        networkReachability_ = nullptr;
        networkType_ = Unknown;
    });
}

void ZADNetwork::setNetworkTypeFromFlags(SCNetworkReachabilityFlags flags) {
    if (flags & kSCNetworkReachabilityFlagsIsWWAN) {
        setNetworkType(Cellular);
    } else {
        setNetworkType((flags & kSCNetworkReachabilityFlagsReachable) ? WiFi : NotReachable);
    }
}

void ZADNetwork::setNetworkType(Type type) {
    dispatch_async(lockQueue_, [self = self<ZADNetwork>(), type] {
        if (type == self->networkType_) {
            return;
        }
        if (type != Unknown) {
            ++self->changeCount_;
            if (type >= WiFi) {
                self->lastKnownNetworkType_ = type;
            }
        }
        self->networkType_ = type;
    });
}

ZADNetwork::Type ZADNetwork::networkType() const {
    Type type = Unknown;
    dispatch_sync(lockQueue_, [&] { type = networkType_; });
    return type;
}

uint64_t ZADNetwork::changeCount() const {
    uint64_t count = 0;
    dispatch_sync(lockQueue_, [&] { count = changeCount_; });
    return count;
}

std::optional<std::string> ZADNetwork::networkTypeString() const {
    return codeOf(networkType());
}

std::optional<std::string> ZADNetwork::lastKnownNetworkTypeString() const {
    Type type = Unknown;
    dispatch_sync(lockQueue_, [&] { type = lastKnownNetworkType_; });
    return codeOf(type);
}
