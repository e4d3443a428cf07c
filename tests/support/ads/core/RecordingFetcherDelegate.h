// A fetcher's delegate that keeps what it heard: the ad, or the error and response code,
// and how many times it was told.
#pragma once

#include "ads/core/ZADAdFetcherDelegate.h"
#include "platform/foundation/NSError.h"

#include <memory>

class RecordingFetcherDelegate : public ZADAdFetcherDelegate {
public:
    void adFetcherDidFetchAd(ZADAdFetcher&, const std::shared_ptr<ZADAd>& fetched) override {
        ++told;
        ad = fetched;
    }
    void adFetcherDidFailToFetchAdWithErrorResponseCode(ZADAdFetcher&,
                                                        const std::shared_ptr<ZADAd>& failed,
                                                        const std::shared_ptr<NSError>& failure,
                                                        long code) override {
        ++told;
        ad = failed;
        error = failure;
        responseCode = code;
    }

    int told = 0;
    std::shared_ptr<ZADAd> ad;
    std::shared_ptr<NSError> error;
    long responseCode = 0;
};
