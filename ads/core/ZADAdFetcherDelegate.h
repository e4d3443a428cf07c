// Where a fetch ends, on the main thread: the ad filled and classified, or why it failed
// (with the HTTP status, 0 when there was none).
#pragma once

#include <memory>

class NSError;
class ZADAd;
class ZADAdFetcher;

class ZADAdFetcherDelegate {
public:
    virtual ~ZADAdFetcherDelegate() = default;
    virtual void adFetcherDidFetchAd(ZADAdFetcher& fetcher, const std::shared_ptr<ZADAd>& ad) = 0;
    virtual void adFetcherDidFailToFetchAdWithErrorResponseCode(ZADAdFetcher& fetcher,
                                                                const std::shared_ptr<ZADAd>& ad,
                                                                const std::shared_ptr<NSError>& error,
                                                                long responseCode) = 0;
};
