// Loads a URL request: in one call, blocking the caller until it ends or in the background
// with a handler called on a given queue; or as an object that tells its delegate, on the
// main thread, of each redirect, the response, the body and the end.
//
// Kept from the platform: every redirect is offered to the delegate before it is followed
// (at most URLLoader::maximumRedirects, then NSURLErrorHTTPTooManyRedirects); a response
// of any status that arrives whole finishes the load; the response is told as soon as its
// headers are in, so a delegate may cancel before the body is read; after cancel() the
// delegate hears nothing more. Left out: run-loop modes (ours has one), the platform's own
// URL cache, partial bodies (the body comes in one piece, just before the end), and the
// strong hold on the delegate: ours is held weakly, its owner keeps it (and so the
// connection) alive.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSURLConnectionDataDelegate.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/foundation/NSURLResponse.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class NSURLConnection : public NSObject {
    NS_OBJECT(NSURLConnection)
public:
    // The response and the body, or the error without a body (with the response when one
    // had arrived: a body broken off). An HTTP error status is a response, not an error.
    using CompletionHandler = std::function<void(std::shared_ptr<NSURLResponse> response,
                                                 std::optional<std::vector<uint8_t>> data,
                                                 std::shared_ptr<NSError> error)>;

    // Blocks the calling thread until the load ends; the body, or nothing with `error`
    // set. Both out-parameters may be null. Logs a warning on the main thread, whose
    // events wait meanwhile.
    static std::optional<std::vector<uint8_t>>
    sendSynchronousRequestReturningResponseError(const std::shared_ptr<NSURLRequest>& request,
                                                 std::shared_ptr<NSURLResponse>* response,
                                                 std::shared_ptr<NSError>* error);
    // Loads in the background and calls the handler on `queue`.
    static void
    sendAsynchronousRequestQueueCompletionHandler(const std::shared_ptr<NSURLRequest>& request,
                                                  dispatch_queue_t queue,
                                                  CompletionHandler handler);

    // A connection for the request that tells `delegate`; it loads once started (at once
    // when `startImmediately`). Null when the request has no URL.
    static std::shared_ptr<NSURLConnection>
    initWithRequestDelegateStartImmediately(const std::shared_ptr<NSURLRequest>& request,
                                            std::weak_ptr<NSURLConnectionDataDelegate> delegate,
                                            bool startImmediately);
    // Starts the load; later calls do nothing.
    void start();
    // Stops the load; the delegate hears nothing more.
    void cancel();

private:
    NSURLConnection() = default;

    // Loads currentRequest_ and hands its outcome to the main thread.
    void loadCurrentRequest();
    // Tells the delegate of the hop's response before its body, unless it is a redirect.
    void responseDidArrive(const std::shared_ptr<NSURLResponse>& response);
    void hopDidComplete(const std::shared_ptr<NSURLResponse>& response,
                        std::optional<std::vector<uint8_t>> data,
                        const std::shared_ptr<NSError>& error);
    // The next request when the answer is a redirect to follow; null otherwise.
    std::shared_ptr<NSURLRequest> redirectRequestFor(const NSURLResponse& response) const;

    // The request of the current hop: the last redirect's once one was followed.
    std::shared_ptr<NSURLRequest> currentRequest_;
    std::weak_ptr<NSURLConnectionDataDelegate> delegate_;
    uint64_t loadId_ = 0;
    int redirects_ = 0;
    bool started_ = false;
    bool responseTold_ = false; // of the current hop
    bool ended_ = false;
};
