// Where the ad engine finds its ad server (scheme://host[:port], the program's --ad-server;
// by default our own example host, which does not resolve) and whether the app shows ads at all: it
// does not once the server's host was found not to resolve. The host is looked up once, at launch,
// off the main thread; the answer changes this object on the main thread.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <memory>
#include <string>

class AdServerHost : public NSObject {
    NS_OBJECT(AdServerHost)
public:
    // Whether a host name resolves to an address.
    using Resolver = std::function<bool(const std::string& host)>;

    // Main thread only.
    static std::shared_ptr<AdServerHost> sharedInstance();
    static void resetForTesting();

    // The ad engine's own setting (ZADAdServer), so that the engine loads its pages from the
    // host checked here. Set before the check; the program sets it from its command line.
    static const std::string& baseURL();
    static void setBaseURL(std::string baseURL);
    // True until the check finds the host does not resolve.
    bool adsEnabled() const { return adsEnabled_; }

    // Looks the host up on a global queue, the first time only. When it does not resolve,
    // ads are turned off and `report` hears why, once, on the main thread.
    void checkOnce(std::function<void(const std::string& message)> report);
    // The system's resolver (SCNetworkReachability::nameResolves) unless replaced.
    void setResolver(Resolver resolver) { resolver_ = std::move(resolver); }

protected:
    AdServerHost();

private:
    bool adsEnabled_ = true;
    bool checked_ = false;
    Resolver resolver_;
};
