#include "ads/core/ZADAdFetcher.h"

#include "ads/core/ZADAd.h"
#include "ads/core/ZADAdFetcherDelegate.h"
#include "ads/core/ZADRequestError.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/uikit/WeakAction.h"

bool ZADAdFetcher::fetchRemainingContentForAdHeadersDelegateError(
    const std::shared_ptr<ZADAd>& ad, const std::optional<PlistValue::Dictionary>& headers,
    const std::shared_ptr<ZADAdFetcherDelegate>& delegate, std::shared_ptr<NSError>* error) {
    std::weak_ptr<ZADAdFetcherDelegate> weakDelegate = delegate;
    dispatch_async(dispatch_get_main_queue(),
                   weakCall(weakSelf<ZADAdFetcher>(), [ad, weakDelegate](ZADAdFetcher& self) {
                       auto delegate = weakDelegate.lock();
                       if (self.cancelled_ || !delegate) {
                           return;
                       }
                       if (!ad || (ad->adHTML().empty() && !ad->adURL())) {
                           delegate->adFetcherDidFailToFetchAdWithErrorResponseCode(
                               self, ad,
                               ZADRequestError::errorWithCode(ZADRequestError::ReceivedInvalidResponse), 0);
                           return;
                       }
                       if (ad->adHTML().empty()) {
                           ad->setAdHTML(kEmptyHTMLAd);
                           ad->setAdBaseURL(ad->adURL());
                       }
                       if (ad->responseType() == ZADAd::Failure) {
                           ad->setResponseType(ZADAd::HTML);
                       }
                       delegate->adFetcherDidFetchAd(self, ad);
                   }));
    return true;
}

bool ZADAdFetcher::fetchRequestURLDelegateError(const std::shared_ptr<NSURLRequest>& request,
                                                const std::shared_ptr<ZADAdFetcherDelegate>& delegate,
                                                std::shared_ptr<NSError>* error) {
    if (!request) {
        if (error) {
            *error = ZADRequestError::errorWithCode(ZADRequestError::InvalidArgument);
        }
        return false;
    }
    std::weak_ptr<ZADAdFetcherDelegate> weakDelegate = delegate;
    auto weakFetcher = weakSelf<ZADAdFetcher>();
    task_ = NSURLSession::sharedSession()->dataTaskWithRequestCompletionHandler(
        request, [weakFetcher, weakDelegate](std::optional<std::vector<uint8_t>> data,
                                             std::shared_ptr<NSURLResponse> response,
                                             std::shared_ptr<NSError> loadError) {
            dispatch_async(dispatch_get_main_queue(), [=] {
                auto self = weakFetcher.lock();
                auto delegate = weakDelegate.lock();
                if (!self || self->cancelled_ || !delegate) {
                    return;
                }
                if (loadError) {
                    delegate->adFetcherDidFailToFetchAdWithErrorResponseCode(
                        *self, nullptr,
                        ZADRequestError::errorWithCodeUnderlyingError(ZADRequestError::NetworkError,
                                                                      loadError),
                        0);
                    return;
                }
                auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response);
                long status = http ? http->statusCode() : 0;
                if (status < 200 || status > 299) {
                    delegate->adFetcherDidFailToFetchAdWithErrorResponseCode(
                        *self, nullptr,
                        ZADRequestError::errorWithCodeRequestHTTPStatusCode(
                            ZADRequestError::ServerError, nullptr, status),
                        status);
                    return;
                }
                auto ad = ZADAd::init();
                ad->setAdHTML(data ? std::string(data->begin(), data->end()) : std::string());
                PlistValue::Dictionary headers;
                for (const auto& [name, value] : http->allHeaderFields()) {
                    headers[name] = value;
                }
                ad->setResponseHeaders(std::move(headers));
                ad->setResponseType(ZADAd::HTML);
                delegate->adFetcherDidFetchAd(*self, ad);
            });
        });
    task_->resume();
    return true;
}

void ZADAdFetcher::cancel() {
    cancelled_ = true;
    if (task_) {
        task_->cancel();
    }
}
