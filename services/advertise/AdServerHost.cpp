#include "services/advertise/AdServerHost.h"

#include "ads/render/ZADAdServer.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSURL.h"
#include "platform/systemconfiguration/SCNetworkReachability.h"
#include "platform/uikit/WeakAction.h"

namespace {
std::shared_ptr<AdServerHost>& installed() {
    static std::shared_ptr<AdServerHost> host;
    return host;
}
} // namespace

AdServerHost::AdServerHost() : resolver_(&SCNetworkReachability::nameResolves) {}

std::shared_ptr<AdServerHost> AdServerHost::sharedInstance() {
    auto& host = installed();
    if (!host) {
        host = make<AdServerHost>();
    }
    return host;
}

void AdServerHost::resetForTesting() {
    installed().reset();
    ZADAdServer::resetForTesting();
}

const std::string& AdServerHost::baseURL() {
    return ZADAdServer::baseURL();
}

void AdServerHost::setBaseURL(std::string baseURL) {
    ZADAdServer::setBaseURL(std::move(baseURL));
}

void AdServerHost::checkOnce(std::function<void(const std::string& message)> report) {
    if (checked_) {
        return;
    }
    checked_ = true;
    auto url = NSURL::URLWithString(baseURL());
    const std::string host = url ? url->host() : std::string();
    dispatch_async(
        dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
        [weak = weakSelf<AdServerHost>(), host, resolver = resolver_, report = std::move(report)] {
            if (!host.empty() && resolver(host)) {
                return;
            }
            dispatch_async(dispatch_get_main_queue(),
                           weakCall(weak, [host, report](AdServerHost& self) {
                               self.adsEnabled_ = false;
                               if (report) {
                                   report("the ad server's host " + host +
                                          " does not resolve: the app runs without ads");
                               }
                           }));
        });
}
