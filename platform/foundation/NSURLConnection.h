// Loads a URL request in one call: blocking the caller until it ends, or in the
// background with a handler called on a given queue.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSError.h"
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
};
