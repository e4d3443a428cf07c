#include "platform/foundation/NSURLConnection.h"

#include "platform/base/NSThread.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSMutableURLRequest.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/URLLoader.h"

#include <algorithm>
#include <cctype>
#include <future>

namespace {

// The connections' own loading thread, apart from the session's; never destroyed, as a
// load may still be running when the process ends.
URLLoader& connectionLoader() {
    static auto* loader = new URLLoader;
    return *loader;
}

struct Outcome {
    std::shared_ptr<NSURLResponse> response;
    std::optional<std::vector<uint8_t>> data;
    std::shared_ptr<NSError> error;
};

std::string lowercased(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<int> effectivePort(const NSURL& url) {
    if (url.port()) {
        return url.port();
    }
    const std::string scheme = lowercased(url.scheme());
    if (scheme == "http") {
        return 80;
    }
    if (scheme == "https") {
        return 443;
    }
    return std::nullopt;
}

// Whether a redirect stays where its credentials were meant to go: same scheme (so never
// from https down to http), host and port.
bool sameOrigin(const NSURL& from, const NSURL& to) {
    return lowercased(from.scheme()) == lowercased(to.scheme()) &&
           lowercased(from.host()) == lowercased(to.host()) &&
           effectivePort(from) == effectivePort(to);
}

} // namespace

std::optional<std::vector<uint8_t>> NSURLConnection::sendSynchronousRequestReturningResponseError(
    const std::shared_ptr<NSURLRequest>& request, std::shared_ptr<NSURLResponse>* response,
    std::shared_ptr<NSError>* error) {
    if (NSThread::isMainThread()) {
        NSLog("NSURLConnection: a synchronous load of %@ blocks the main thread until it ends",
              request ? NSDescription(request->URL()) : std::string("(null)"));
    }
    // The completion comes on the loader's thread, so waiting here needs no dispatch queue.
    // The promise is shared: the loader may still hold it when this call has returned.
    auto promise = std::make_shared<std::promise<Outcome>>();
    std::future<Outcome> finished = promise->get_future();
    connectionLoader().load(request, [promise](std::shared_ptr<NSURLResponse> loadedResponse,
                                               std::optional<std::vector<uint8_t>> data,
                                               std::shared_ptr<NSError> loadError) {
        promise->set_value({std::move(loadedResponse), std::move(data), std::move(loadError)});
    });
    Outcome outcome = finished.get();
    if (response) {
        *response = std::move(outcome.response);
    }
    if (error) {
        *error = std::move(outcome.error);
    }
    return std::move(outcome.data);
}

void NSURLConnection::sendAsynchronousRequestQueueCompletionHandler(
    const std::shared_ptr<NSURLRequest>& request, dispatch_queue_t queue,
    CompletionHandler handler) {
    connectionLoader().load(request, [queue = std::move(queue), handler = std::move(handler)](
                                         std::shared_ptr<NSURLResponse> response,
                                         std::optional<std::vector<uint8_t>> data,
                                         std::shared_ptr<NSError> error) {
        if (handler) {
            dispatch_async(queue, [handler, response = std::move(response), data = std::move(data),
                                   error = std::move(error)] { handler(response, data, error); });
        }
    });
}

std::shared_ptr<NSURLConnection> NSURLConnection::initWithRequestDelegateStartImmediately(
    const std::shared_ptr<NSURLRequest>& request,
    std::weak_ptr<NSURLConnectionDataDelegate> delegate, bool startImmediately) {
    if (!request || !request->URL()) {
        return nullptr;
    }
    auto connection = make<NSURLConnection>();
    connection->currentRequest_ = request;
    connection->delegate_ = std::move(delegate);
    if (startImmediately) {
        connection->start();
    }
    return connection;
}

void NSURLConnection::start() {
    if (started_) {
        return;
    }
    started_ = true;
    auto delegate = delegate_.lock();
    if (delegate) {
        auto keep = self<NSURLConnection>(); // the delegate may drop its connection
        auto sent =
            delegate->connectionWillSendRequestRedirectResponse(*this, currentRequest_, nullptr);
        if (ended_) {
            return;
        }
        if (sent && sent->URL()) {
            currentRequest_ = std::move(sent);
        }
    }
    loadCurrentRequest();
}

void NSURLConnection::cancel() {
    if (ended_) {
        return;
    }
    ended_ = true;
    if (loadId_) {
        connectionLoader().cancel(loadId_);
    }
}

void NSURLConnection::loadCurrentRequest() {
    // The load holds its connection until the answer was handled, as the platform's run
    // loop holds a scheduled connection.
    auto connection = self<NSURLConnection>();
    responseTold_ = false;
    loadId_ = connectionLoader().load(
        currentRequest_,
        [connection](std::shared_ptr<NSURLResponse> response,
                     std::optional<std::vector<uint8_t>> data, std::shared_ptr<NSError> error) {
            dispatch_async(dispatch_get_main_queue(),
                           [connection, response = std::move(response), data = std::move(data),
                            error = std::move(error)]() mutable {
                               connection->hopDidComplete(response, std::move(data), error);
                           });
        },
        URLLoader::Redirects::Report,
        [connection](std::shared_ptr<NSURLResponse> response) {
            dispatch_async(dispatch_get_main_queue(),
                           [connection, response = std::move(response)] {
                               connection->responseDidArrive(response);
                           });
        });
}

void NSURLConnection::responseDidArrive(const std::shared_ptr<NSURLResponse>& response) {
    // The hop's end comes after this on the same queue; a redirect is left to it, as it
    // may be followed rather than told.
    auto delegate = delegate_.lock();
    if (ended_ || !delegate || responseTold_ || redirectRequestFor(*response)) {
        return;
    }
    responseTold_ = true;
    delegate->connectionDidReceiveResponse(*this, response);
}

std::shared_ptr<NSURLRequest>
NSURLConnection::redirectRequestFor(const NSURLResponse& response) const {
    const auto* http = dynamic_cast<const NSHTTPURLResponse*>(&response);
    if (!http) {
        return nullptr;
    }
    const long status = http->statusCode();
    const auto location = http->valueForHTTPHeaderField("Location");
    if (!location ||
        (status != 301 && status != 302 && status != 303 && status != 307 && status != 308)) {
        return nullptr;
    }
    auto target = NSURL::URLWithStringRelativeToURL(*location, currentRequest_->URL());
    if (!target) {
        return nullptr;
    }
    auto next = NSMutableURLRequest::requestWithURLCachePolicyTimeoutInterval(
        target, currentRequest_->cachePolicy(), currentRequest_->timeoutInterval());
    next->setAllHTTPHeaderFields(currentRequest_->allHTTPHeaderFields());
    if (!sameOrigin(*currentRequest_->URL(), *target)) {
        next->setValueForHTTPHeaderField(std::nullopt, "Authorization");
        next->setValueForHTTPHeaderField(std::nullopt, "Cookie");
    }
    next->setMaximumBodySize(currentRequest_->maximumBodySize());
    const std::string& method = currentRequest_->HTTPMethod();
    // A "see other", and a moved POST as every browser treats it, continue as a GET.
    if (status == 303 || ((status == 301 || status == 302) && method == "POST")) {
        next->setValueForHTTPHeaderField(std::nullopt, "Content-Type");
        next->setValueForHTTPHeaderField(std::nullopt, "Content-Length");
    } else {
        next->setHTTPMethod(method);
        next->setHTTPBody(currentRequest_->HTTPBody());
    }
    return next;
}

void NSURLConnection::hopDidComplete(const std::shared_ptr<NSURLResponse>& response,
                                     std::optional<std::vector<uint8_t>> data,
                                     const std::shared_ptr<NSError>& error) {
    loadId_ = 0;
    auto delegate = delegate_.lock();
    if (ended_ || !delegate) {
        ended_ = true;
        return;
    }
    std::shared_ptr<NSError> failure = error;
    if (!failure && response) {
        if (auto next = redirectRequestFor(*response)) {
            if (redirects_ == URLLoader::maximumRedirects) {
                failure = NSURLErrorWithCode(NSURLErrorHTTPTooManyRedirects,
                                             currentRequest_->URL()->absoluteString());
            } else {
                auto sent = delegate->connectionWillSendRequestRedirectResponse(
                    *this, std::move(next), response);
                if (ended_) {
                    return;
                }
                if (sent && sent->URL()) {
                    ++redirects_;
                    currentRequest_ = std::move(sent);
                    loadCurrentRequest();
                    return;
                }
            }
        }
    }
    // A response that came with a failure (a body broken off) is told first, unless it was
    // told when its headers arrived.
    if (response && !responseTold_) {
        delegate->connectionDidReceiveResponse(*this, response);
        if (ended_) {
            return;
        }
    }
    if (failure) {
        ended_ = true;
        delegate->connectionDidFailWithError(*this, failure);
        return;
    }
    if (data && !data->empty()) {
        delegate->connectionDidReceiveData(*this, *data);
        if (ended_) {
            return;
        }
    }
    ended_ = true;
    delegate->connectionDidFinishLoading(*this);
}
