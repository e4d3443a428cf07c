#include "ads/render/ZADMRAIDInterceptor.h"

#include "ads/core/ZADAdURLStash.h"

#include <mutex>

namespace {
struct Switches {
    std::mutex lock;
    bool allowed = false;
    int64_t canInitCount = 0;
    std::optional<std::string> bannerPath;
    std::optional<std::string> interstitialPath;
    std::optional<std::string> expandedBannerPath;
};

Switches& switches() {
    static Switches shared;
    return shared;
}
} // namespace

void ZADMRAIDInterceptor::allow() {
    std::lock_guard hold(switches().lock);
    switches().allowed = true;
}

void ZADMRAIDInterceptor::disallow() {
    std::lock_guard hold(switches().lock);
    switches().allowed = false;
}

bool ZADMRAIDInterceptor::isAllowed() {
    std::lock_guard hold(switches().lock);
    return switches().allowed;
}

void ZADMRAIDInterceptor::enableCanInitWithRequest() {
    std::lock_guard hold(switches().lock);
    ++switches().canInitCount;
}

void ZADMRAIDInterceptor::disableCanInitWithRequest() {
    std::lock_guard hold(switches().lock);
    --switches().canInitCount;
}

int64_t ZADMRAIDInterceptor::canInitWithRequestCount() {
    std::lock_guard hold(switches().lock);
    return switches().canInitCount;
}

bool ZADMRAIDInterceptor::canInitWithRequestIsEnabled() {
    {
        std::lock_guard hold(switches().lock);
        if (!switches().allowed || switches().canInitCount == 0) {
            return false;
        }
    }
    // The stash has its own lock; it is not taken under this one.
    return ZADAdURLStash::hasStashedURLs();
}

void ZADMRAIDInterceptor::resetForTesting() {
    std::lock_guard hold(switches().lock);
    switches().allowed = false;
    switches().canInitCount = 0;
    switches().bannerPath.reset();
    switches().interstitialPath.reset();
    switches().expandedBannerPath.reset();
}

void ZADMRAIDInterceptor::setBannerImplementationPath(std::optional<std::string> path) {
    std::lock_guard hold(switches().lock);
    switches().bannerPath = std::move(path);
}

void ZADMRAIDInterceptor::setInterstitialImplementationPath(std::optional<std::string> path) {
    std::lock_guard hold(switches().lock);
    switches().interstitialPath = std::move(path);
}

void ZADMRAIDInterceptor::setExpandedBannerImplementationPath(std::optional<std::string> path) {
    std::lock_guard hold(switches().lock);
    switches().expandedBannerPath = std::move(path);
}

std::optional<std::string> ZADMRAIDInterceptor::bannerImplementationPath() {
    std::lock_guard hold(switches().lock);
    return switches().bannerPath;
}

std::optional<std::string> ZADMRAIDInterceptor::interstitialImplementationPath() {
    std::lock_guard hold(switches().lock);
    return switches().interstitialPath;
}

std::optional<std::string> ZADMRAIDInterceptor::expandedBannerImplementationPath() {
    std::lock_guard hold(switches().lock);
    return switches().expandedBannerPath;
}
