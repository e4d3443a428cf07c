// The process's registry from an ad's page address to the ad view that shows it, through
// which a script request of an ad page finds its view. Addresses are kept in a canonical
// form, so that a page address, the same with ":80", with a fragment or with a final "/"
// find one view. Views are held weakly: one that has gone is found as none. Any thread:
// every access holds one lock.
#pragma once

#include <memory>
#include <string>

class NSURL;
class UIView;

class ZADAdURLStash {
public:
    // A URL with an explicit port, or without a host, as it is; otherwise the host followed
    // by ":80" wherever the host's text stands in it, without the fragment after the last
    // "#", and without one final "/". Null for null.
    static std::shared_ptr<NSURL> canonicalURLForURL(const std::shared_ptr<NSURL>& URL);
    // Replaces an entry of the same canonical address; nothing for a URL without one.
    static void addForView(const std::shared_ptr<NSURL>& URL, const std::shared_ptr<UIView>& view);
    static void remove(const std::shared_ptr<NSURL>& URL);
    static std::shared_ptr<UIView> viewForURL(const std::shared_ptr<NSURL>& URL);
    static bool hasStashedURLs();
    // Empty again (between tests).
    static void resetForTesting();
};
