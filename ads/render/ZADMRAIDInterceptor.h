// The switches of the interceptor that serves the MRAID script to ad pages: a class-wide
// allowed switch, and a counter of slots between asking for an ad URL and their load's
// end (the script is served only while it is above 0). Serving the script comes with the
// interceptor itself; until then these are the switches it will read. Any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class ZADMRAIDInterceptor {
public:
    static void allow();
    static void disallow();
    static bool isAllowed();
    // Raises or lowers the counter by one.
    static void enableCanInitWithRequest();
    static void disableCanInitWithRequest();
    static int64_t canInitWithRequestCount();
    // Whether a request may be taken at all: allowed, the counter above 0, and some ad
    // page registered in the ad-URL stash.
    static bool canInitWithRequestIsEnabled();

    // Where the server keeps the MRAID script of each kind of ad (nothing: unknown).
    static void setBannerImplementationPath(std::optional<std::string> path);
    static void setInterstitialImplementationPath(std::optional<std::string> path);
    static void setExpandedBannerImplementationPath(std::optional<std::string> path);
    static std::optional<std::string> bannerImplementationPath();
    static std::optional<std::string> interstitialImplementationPath();
    static std::optional<std::string> expandedBannerImplementationPath();

    static void resetForTesting();
};
