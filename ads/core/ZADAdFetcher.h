// The one-shot fetch of an ad's content. Until the engine fetches over the network, an ad
// that carries its HTML is handed back as it is, and an ad URL is answered with an empty
// HTML page (an ad that shows nothing, based at that URL), both of the HTML kind unless
// the ad already says what kind it is; an ad with neither fails as an invalid response. Either way the answer comes later, on the main queue, unless the
// fetch was cancelled. Main thread only.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <optional>

class NSError;
class NSURLRequest;
class NSURLSessionDataTask;
class ZADAd;
class ZADAdFetcherDelegate;

class ZADAdFetcher : public NSObject {
    NS_OBJECT(ZADAdFetcher)
public:
    // What an ad URL is answered with.
    static constexpr const char* kEmptyHTMLAd = "<!DOCTYPE html><html><body></body></html>";

    static std::shared_ptr<ZADAdFetcher> init() { return make<ZADAdFetcher>(); }

    // Starts the fetch; the delegate is held weakly. Answers whether it started (always,
    // here: the outcome reaches the delegate).
    bool fetchRemainingContentForAdHeadersDelegateError(
        const std::shared_ptr<ZADAd>& ad, const std::optional<PlistValue::Dictionary>& headers,
        const std::shared_ptr<ZADAdFetcherDelegate>& delegate, std::shared_ptr<NSError>* error);
    // Loads the request; the delegate is held weakly. Without a request nothing starts:
    // false, with the error.
    bool fetchRequestURLDelegateError(const std::shared_ptr<NSURLRequest>& request,
                                      const std::shared_ptr<ZADAdFetcherDelegate>& delegate,
                                      std::shared_ptr<NSError>* error);
    // The delegate hears nothing more.
    void cancel();

private:
    ZADAdFetcher() = default;

    bool cancelled_ = false;
    std::shared_ptr<NSURLSessionDataTask> task_;
};
