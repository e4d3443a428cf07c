#include "ads/render/ZADSDKCoreZMSGHandler.h"

#include "ads/core/NSDictionary+ZADJSONAdditions.h"
#include "ads/core/NSDictionary+ZADObjectValidation.h"
#include "ads/core/NSString+ZADJSONAdditions.h"
#include "ads/core/NSURLRequest+ZADNSURLRequestUtilities.h"
#include "ads/core/ZADAd.h"
#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADRequestError.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/render/ZADSDKCoreZMSGHandlerDelegate.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/uikit/WeakAction.h"

using Kind = ZADObjectValidation::Class;
using ZADObjectValidation::zad_objectForKeyIfIsKindOfClass;

namespace {

constexpr const char* kLockQueueLabel = "com.zivido.vazer.sdk-core-zmsghandler";

std::string requestIDOf(const ZADZMSGHandler::Parameters& parameters) {
    auto found = parameters.find("request_id");
    return found == parameters.end() ? std::string() : found->second;
}

std::string textOf(const PlistValue::Dictionary& dictionary, const char* key) {
    const auto* value = zad_objectForKeyIfIsKindOfClass(dictionary, key, Kind::String);
    return value ? *value->string() : std::string();
}

} // namespace

ZADSDKCoreZMSGHandler::ZADSDKCoreZMSGHandler()
    : lockQueue_(dispatch_queue_create(kLockQueueLabel, DISPATCH_QUEUE_SERIAL)) {}

const ZADZMSGHandler::ActionTable& ZADSDKCoreZMSGHandler::actionBlockDictionary() const {
    static const ActionTable table = {
        {"loadAdURL", action(&ZADSDKCoreZMSGHandler::adViewDidReceiveloadAdURLAction)},
        {"loadAd", action(&ZADSDKCoreZMSGHandler::adViewDidReceiveLoadAdAction)},
        {"invalidRequest", action(&ZADSDKCoreZMSGHandler::adViewDidReceiveInvalidAdRequestAction)},
        {"loadSdkConstants",
         action(&ZADSDKCoreZMSGHandler::adViewDidReceiveloadSDKConstantsAction)},
        {"fetchHttpRequest", action(&ZADSDKCoreZMSGHandler::adViewDidReceiveFetchAdAction)},
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
    auto decoded = ZADJSONAdditions::zad_decodedJSONObject(text);
    if (decoded.hasError() || !decoded.value().dictionary()) {
        NSLog("ZADSDKCoreZMSGHandler: dropped a loadAd message whose ad is not a JSON object");
        return;
    }
    tellDelegate([requestID = requestIDOf(parameters), ad = *decoded.value().dictionary()](
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

void ZADSDKCoreZMSGHandler::adViewDidReceiveFetchAdAction(const std::shared_ptr<ZADAdView>&,
                                                          const Parameters& parameters) {
    auto found = parameters.find("http_request");
    auto decoded = ZADJSONAdditions::zad_decodedJSONObject(
        found == parameters.end() ? std::string() : found->second);
    if (decoded.hasError()) {
        failedToFetchAdForRequestIDWithErrorResponseCode(nullptr, std::nullopt, decoded.error(), 0);
        return;
    }
    // JSON that is not an object describes no request: no id, no URL.
    const PlistValue::Dictionary relay =
        decoded.value().dictionary() ? *decoded.value().dictionary() : PlistValue::Dictionary{};
    const std::string fetchID = textOf(relay, "http_request_id");
    if (isFetchInProgressForFetchRequestID(fetchID)) {
        return;
    }
    const std::string urlText = textOf(relay, "url");
    auto url = urlText.empty() ? nullptr : NSURL::URLWithString(urlText);
    if (!url) {
        failedToFetchAdForRequestIDWithErrorResponseCode(
            nullptr, fetchID,
            ZADRequestError::errorWithCodeCustomMessage(
                ZADRequestError::InternalError,
                NSString::stringWithFormat("Invalid URL (%@) requested for fetching", urlText)),
            0);
        return;
    }
    NSHTTPHeaderFields headers;
    if (const auto* entries = zad_objectForKeyIfIsKindOfClass(relay, "headers", Kind::Array)) {
        for (const auto& entry : *entries->array()) {
            const auto* header = entry.dictionary();
            if (header && header->contains("key") && header->contains("value")) {
                headers[header->at("key").stringValue()] = header->at("value").stringValue();
            }
        }
    }
    std::optional<std::vector<uint8_t>> body;
    if (const auto* postBody = zad_objectForKeyIfIsKindOfClass(relay, "post_body", Kind::String)) {
        body.emplace(postBody->string()->begin(), postBody->string()->end());
    }
    std::optional<std::string> contentType;
    if (const auto* type = zad_objectForKeyIfIsKindOfClass(relay, "content_type", Kind::String)) {
        contentType = *type->string();
    }

    auto fetcher = ZADAdFetcher::init();
    setAdFetcherForFetchRequestID(fetcher, fetchID);
    auto request =
        ZADNSURLRequestUtilities::zad_requestForURLDataHeadersType(url, body, headers, contentType);
    std::shared_ptr<NSError> startError;
    if (!fetcher->fetchRequestURLDelegateError(request, self<ZADSDKCoreZMSGHandler>(),
                                               &startError)) {
        // The fetcher stays registered: its id stays busy, as a relay that never answers.
        auto requestError = std::dynamic_pointer_cast<ZADRequestError>(startError);
        failedToFetchAdForRequestIDWithErrorResponseCode(
            nullptr, fetchID, requestError ? requestError->error() : startError, 0);
    }
}

void ZADSDKCoreZMSGHandler::adFetcherDidFetchAd(ZADAdFetcher& fetcher,
                                                const std::shared_ptr<ZADAd>& ad) {
    auto fetchID = fetchRequestIDForAdFetcher(fetcher);
    fetchedAdForFetchRequestIDResponseCode(ad, fetchID.value_or(""), 200);
    if (fetchID) {
        removeAdFetcherForFetchRequestID(*fetchID);
    }
}

void ZADSDKCoreZMSGHandler::adFetcherDidFailToFetchAdWithErrorResponseCode(
    ZADAdFetcher& fetcher, const std::shared_ptr<ZADAd>& ad, const std::shared_ptr<NSError>& error,
    long responseCode) {
    auto fetchID = fetchRequestIDForAdFetcher(fetcher);
    failedToFetchAdForRequestIDWithErrorResponseCode(ad, fetchID, error, responseCode);
    if (fetchID) {
        removeAdFetcherForFetchRequestID(*fetchID);
    }
}

void ZADSDKCoreZMSGHandler::fetchedAdForFetchRequestIDResponseCode(
    const std::shared_ptr<ZADAd>& ad, const std::string& fetchRequestID, long responseCode) {
    reply(true, ad, fetchRequestID, nullptr, responseCode);
}

void ZADSDKCoreZMSGHandler::failedToFetchAdForRequestIDWithErrorResponseCode(
    const std::shared_ptr<ZADAd>& ad, const std::optional<std::string>& fetchRequestID,
    const std::shared_ptr<NSError>& error, long responseCode) {
    reply(false, ad, fetchRequestID, error, responseCode);
}

void ZADSDKCoreZMSGHandler::reply(bool success, const std::shared_ptr<ZADAd>& ad,
                                  const std::optional<std::string>& fetchRequestID,
                                  const std::shared_ptr<NSError>& error, long responseCode) {
    PlistValue::Array headers;
    if (ad) {
        for (const auto& [name, value] : ad->responseHeaders()) {
            headers.push_back(PlistValue::Dictionary{{"key", name}, {"value", value}});
        }
    }
    PlistValue::Dictionary response{
        {"response_code", responseCode},
        {"body", ad ? ad->adHTML() : std::string()},
        {"http_request_id", fetchRequestID.value_or("")},
        {"headers", std::move(headers)},
    };
    PlistValue::Dictionary message{{"success", success ? "true" : "false"},
                                   {"response", std::move(response)}};
    if (!success) {
        message["reason"] = error ? error->localizedDescription() : std::string();
    }
    if (auto webView = SDKCoreWebView()) {
        webView->enqueueJavaScriptCommand(replyCommandForReply(message));
    }
}

std::string ZADSDKCoreZMSGHandler::replyCommandForReply(const PlistValue::Dictionary& reply) {
    auto json = ZADJSONAdditions::zad_JSONStringPretty(reply, false);
    return "ROZU_ReceiveMessage('fetchHttpRequestCompleted', " +
           (json.hasError() ? std::string() : json.value()) + ")";
}

std::optional<std::string>
ZADSDKCoreZMSGHandler::fetchRequestIDForAdFetcher(const ZADAdFetcher& fetcher) const {
    std::optional<std::string> fetchID;
    dispatch_sync(lockQueue_, [&] {
        for (const auto& [id, registered] : adFetchers_) {
            if (registered.get() == &fetcher) {
                fetchID = id;
                return;
            }
        }
    });
    return fetchID;
}

void ZADSDKCoreZMSGHandler::setAdFetcherForFetchRequestID(
    const std::shared_ptr<ZADAdFetcher>& fetcher, const std::string& fetchRequestID) {
    auto self = this->self<ZADSDKCoreZMSGHandler>();
    dispatch_async(lockQueue_, [self, fetcher, fetchRequestID] {
        self->adFetchers_.try_emplace(fetchRequestID, fetcher);
    });
}

void ZADSDKCoreZMSGHandler::removeAdFetcherForFetchRequestID(const std::string& fetchRequestID) {
    std::shared_ptr<ZADAdFetcher> removed;
    dispatch_sync(lockQueue_, [&] {
        auto found = adFetchers_.find(fetchRequestID);
        if (found != adFetchers_.end()) {
            removed = std::move(found->second);
            adFetchers_.erase(found);
        }
    });
    if (removed) {
        removed->cancel();
    }
}

bool ZADSDKCoreZMSGHandler::isFetchInProgressForFetchRequestID(
    const std::string& fetchRequestID) const {
    bool inProgress = false;
    dispatch_sync(lockQueue_, [&] { inProgress = adFetchers_.contains(fetchRequestID); });
    return inProgress;
}
