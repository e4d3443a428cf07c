// The handler of the core page's messages: "loadAdURL", "loadAd", "invalidRequest",
// "loadSdkConstants" and "requestReload", each passed on to the delegate on the main
// queue. A "loadAd" whose "fetched_ad" is not JSON reaches nobody.
//
// The page's HTTP relay ("fetchHttpRequest") comes with the ad fetcher; until then the
// message is not this handler's.
#pragma once

#include "ads/render/ZADZMSGHandler.h"

#include <memory>

class ZADSDKCoreZMSGHandlerDelegate;

class ZADSDKCoreZMSGHandler : public ZADZMSGHandler {
    NS_OBJECT(ZADSDKCoreZMSGHandler)
public:
    static std::shared_ptr<ZADSDKCoreZMSGHandler> init() { return make<ZADSDKCoreZMSGHandler>(); }

    std::shared_ptr<ZADSDKCoreZMSGHandlerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ZADSDKCoreZMSGHandlerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    const ActionTable& actionBlockDictionary() const override;

private:
    ZADSDKCoreZMSGHandler() = default;

    void adViewDidReceiveloadAdURLAction(const std::shared_ptr<ZADAdView>& adView,
                                         const Parameters& parameters);
    void adViewDidReceiveLoadAdAction(const std::shared_ptr<ZADAdView>& adView,
                                      const Parameters& parameters);
    void adViewDidReceiveInvalidAdRequestAction(const std::shared_ptr<ZADAdView>& adView,
                                                const Parameters& parameters);
    void adViewDidReceiveloadSDKConstantsAction(const std::shared_ptr<ZADAdView>& adView,
                                                const Parameters& parameters);
    void
    adViewDidReceiveSDKCoreReloadRequestWithParameters(const std::shared_ptr<ZADAdView>& adView,
                                                       const Parameters& parameters);

    // Calls `call` with the delegate on the main queue, when both this handler and the
    // delegate are still there.
    void
    tellDelegate(std::function<void(ZADSDKCoreZMSGHandlerDelegate&, ZADSDKCoreZMSGHandler&)> call);

    std::weak_ptr<ZADSDKCoreZMSGHandlerDelegate> delegate_;
};
