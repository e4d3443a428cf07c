// The handler of the core page's messages: "loadAdURL", "loadAd", "invalidRequest",
// "loadSdkConstants" and "requestReload", each passed on to the delegate on the main
// queue (a "loadAd" whose "fetched_ad" is not a JSON object reaches nobody), and
// "fetchHttpRequest", the page's HTTP relay: the engine makes the request the page
// describes and answers it into the page as a "fetchHttpRequestCompleted" message.
//
// One relay per fetch id at a time: a request with the id of one under way is ignored.
// Every failure is answered to the page ("success" "false" and the reason); nothing
// reaches the user. The relays in progress live on the handler's own serial queue.
#pragma once

#include "ads/core/ZADAdFetcherDelegate.h"
#include "ads/render/ZADZMSGHandler.h"
#include "platform/foundation/PlistValue.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

class DispatchQueue;
class NSError;
class ZADAd;
class ZADAdFetcher;
class ZADSDKCoreWebView;
class ZADSDKCoreZMSGHandlerDelegate;

class ZADSDKCoreZMSGHandler : public ZADZMSGHandler, public ZADAdFetcherDelegate {
    NS_OBJECT(ZADSDKCoreZMSGHandler)
public:
    static std::shared_ptr<ZADSDKCoreZMSGHandler> init() { return make<ZADSDKCoreZMSGHandler>(); }

    std::shared_ptr<ZADSDKCoreZMSGHandlerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ZADSDKCoreZMSGHandlerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    // Where relay answers go (as commands, so they wait for a loaded page).
    std::shared_ptr<ZADSDKCoreWebView> SDKCoreWebView() const { return SDKCoreWebView_.lock(); }
    void setSDKCoreWebView(std::weak_ptr<ZADSDKCoreWebView> webView) {
        SDKCoreWebView_ = std::move(webView);
    }

    const ActionTable& actionBlockDictionary() const override;

    // The relay's answers.
    void fetchedAdForFetchRequestIDResponseCode(const std::shared_ptr<ZADAd>& ad,
                                                const std::string& fetchRequestID,
                                                long responseCode);
    void failedToFetchAdForRequestIDWithErrorResponseCode(
        const std::shared_ptr<ZADAd>& ad, const std::optional<std::string>& fetchRequestID,
        const std::shared_ptr<NSError>& error, long responseCode);
    // The script that answers a relay: "ROZU_ReceiveMessage('fetchHttpRequestCompleted', "
    // and the reply as compact JSON (nothing between the brackets' comma and end when it
    // cannot be written).
    static std::string replyCommandForReply(const PlistValue::Dictionary& reply);

    // Relay bookkeeping. Registering under an id that has a fetcher is ignored; removing
    // takes the fetcher out and cancels it.
    std::optional<std::string> fetchRequestIDForAdFetcher(const ZADAdFetcher& fetcher) const;
    void setAdFetcherForFetchRequestID(const std::shared_ptr<ZADAdFetcher>& fetcher,
                                       const std::string& fetchRequestID);
    void removeAdFetcherForFetchRequestID(const std::string& fetchRequestID);
    bool isFetchInProgressForFetchRequestID(const std::string& fetchRequestID) const;

    // The relay fetcher's callbacks.
    void adFetcherDidFetchAd(ZADAdFetcher& fetcher, const std::shared_ptr<ZADAd>& ad) override;
    void adFetcherDidFailToFetchAdWithErrorResponseCode(ZADAdFetcher& fetcher,
                                                        const std::shared_ptr<ZADAd>& ad,
                                                        const std::shared_ptr<NSError>& error,
                                                        long responseCode) override;

private:
    ZADSDKCoreZMSGHandler();

    void adViewDidReceiveloadAdURLAction(const std::shared_ptr<ZADAdView>& adView,
                                         const Parameters& parameters);
    void adViewDidReceiveLoadAdAction(const std::shared_ptr<ZADAdView>& adView,
                                      const Parameters& parameters);
    void adViewDidReceiveInvalidAdRequestAction(const std::shared_ptr<ZADAdView>& adView,
                                                const Parameters& parameters);
    void adViewDidReceiveloadSDKConstantsAction(const std::shared_ptr<ZADAdView>& adView,
                                                const Parameters& parameters);
    void adViewDidReceiveFetchAdAction(const std::shared_ptr<ZADAdView>& adView,
                                       const Parameters& parameters);
    void
    adViewDidReceiveSDKCoreReloadRequestWithParameters(const std::shared_ptr<ZADAdView>& adView,
                                                       const Parameters& parameters);

    // Calls `call` with the delegate on the main queue, when both this handler and the
    // delegate are still there.
    void
    tellDelegate(std::function<void(ZADSDKCoreZMSGHandlerDelegate&, ZADSDKCoreZMSGHandler&)> call);
    // Builds the reply and hands it to the page.
    void reply(bool success, const std::shared_ptr<ZADAd>& ad,
               const std::optional<std::string>& fetchRequestID,
               const std::shared_ptr<NSError>& error, long responseCode);

    std::shared_ptr<DispatchQueue> lockQueue_;
    std::weak_ptr<ZADSDKCoreZMSGHandlerDelegate> delegate_;
    std::weak_ptr<ZADSDKCoreWebView> SDKCoreWebView_;
    // On the lock queue only.
    std::map<std::string, std::shared_ptr<ZADAdFetcher>> adFetchers_;
};
