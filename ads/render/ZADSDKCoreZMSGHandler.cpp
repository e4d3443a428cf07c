#include "ads/render/ZADSDKCoreZMSGHandler.h"

#include "ads/render/ZADSDKCoreZMSGHandlerDelegate.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/foundation/NSLog.h"
#include "platform/uikit/WeakAction.h"

namespace {

std::string requestIDOf(const ZADZMSGHandler::Parameters& parameters) {
    auto found = parameters.find("request_id");
    return found == parameters.end() ? std::string() : found->second;
}

} // namespace

const ZADZMSGHandler::ActionTable& ZADSDKCoreZMSGHandler::actionBlockDictionary() const {
    static const ActionTable table = {
        {"loadAdURL", action(&ZADSDKCoreZMSGHandler::adViewDidReceiveloadAdURLAction)},
        {"loadAd", action(&ZADSDKCoreZMSGHandler::adViewDidReceiveLoadAdAction)},
        {"invalidRequest", action(&ZADSDKCoreZMSGHandler::adViewDidReceiveInvalidAdRequestAction)},
        {"loadSdkConstants",
         action(&ZADSDKCoreZMSGHandler::adViewDidReceiveloadSDKConstantsAction)},
        {"requestReload",
         action(&ZADSDKCoreZMSGHandler::adViewDidReceiveSDKCoreReloadRequestWithParameters)},
    };
    return table;
}

void ZADSDKCoreZMSGHandler::tellDelegate(
    std::function<void(ZADSDKCoreZMSGHandlerDelegate&, ZADSDKCoreZMSGHandler&)> call) {
    dispatch_async(dispatch_get_main_queue(),
                   weakCall(weakSelf<ZADSDKCoreZMSGHandler>(),
                            [call = std::move(call)](ZADSDKCoreZMSGHandler& self) {
                                if (auto delegate = self.delegate()) {
                                    call(*delegate, self);
                                }
                            }));
}

void ZADSDKCoreZMSGHandler::adViewDidReceiveloadAdURLAction(const std::shared_ptr<ZADAdView>&,
                                                            const Parameters& parameters) {
    tellDelegate([parameters](ZADSDKCoreZMSGHandlerDelegate& delegate,
                              ZADSDKCoreZMSGHandler& self) {
        delegate.sdkCoreZMSGHandlerLoadAdURLWithRequestIDParameters(self, requestIDOf(parameters),
                                                                    parameters);
    });
}

void ZADSDKCoreZMSGHandler::adViewDidReceiveLoadAdAction(const std::shared_ptr<ZADAdView>&,
                                                         const Parameters& parameters) {
    auto fetchedAd = parameters.find("fetched_ad");
    std::string text = fetchedAd == parameters.end() ? std::string() : fetchedAd->second;
    std::shared_ptr<NSError> error;
    auto decoded = NSJSONSerialization::JSONObjectWithData({text.begin(), text.end()}, &error);
    if (!decoded) {
        NSLog("ZADSDKCoreZMSGHandler: dropped a loadAd message whose ad is not JSON: %@", error);
        return;
    }
    tellDelegate([requestID = requestIDOf(parameters), ad = std::move(*decoded)](
                     ZADSDKCoreZMSGHandlerDelegate& delegate, ZADSDKCoreZMSGHandler& self) {
        delegate.sdkCoreZMSGHandlerLoadAdWithRequestIDParameters(self, requestID, ad);
    });
}

void ZADSDKCoreZMSGHandler::adViewDidReceiveInvalidAdRequestAction(
    const std::shared_ptr<ZADAdView>&, const Parameters& parameters) {
    tellDelegate(
        [parameters](ZADSDKCoreZMSGHandlerDelegate& delegate, ZADSDKCoreZMSGHandler& self) {
            delegate.sdkCoreZMSGHandlerDidReceiveInvalidAdWithRequestIDParameters(
                self, requestIDOf(parameters), parameters);
        });
}

void ZADSDKCoreZMSGHandler::adViewDidReceiveloadSDKConstantsAction(
    const std::shared_ptr<ZADAdView>&, const Parameters& parameters) {
    tellDelegate(
        [parameters](ZADSDKCoreZMSGHandlerDelegate& delegate, ZADSDKCoreZMSGHandler& self) {
            delegate.sdkCoreZMSGHandlerDidLoadSDKConstants(self, parameters);
        });
}

void ZADSDKCoreZMSGHandler::adViewDidReceiveSDKCoreReloadRequestWithParameters(
    const std::shared_ptr<ZADAdView>&, const Parameters&) {
    tellDelegate([](ZADSDKCoreZMSGHandlerDelegate& delegate, ZADSDKCoreZMSGHandler& self) {
        delegate.sdkCoreZMSGHandlerDidReceiveSDKCoreUpdateNotification(self);
    });
}
