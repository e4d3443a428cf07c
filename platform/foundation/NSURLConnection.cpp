#include "platform/foundation/NSURLConnection.h"

#include "platform/base/NSThread.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/URLLoader.h"

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
