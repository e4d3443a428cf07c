// One load of a session: created suspended, started by resume(), ended early by cancel().
// Its completion handler is called exactly once, on the session's delegate queue.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/foundation/NSURLResponse.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class NSURLSession;

enum class NSURLSessionTaskState { Running = 0, Suspended = 1, Canceling = 2, Completed = 3 };

class NSURLSessionDataTask : public NSObject {
    NS_OBJECT(NSURLSessionDataTask)
public:
    // The body and the response, or the error without a body (with the response when one
    // had arrived: a body broken off). An HTTP error status is a response, not an error.
    using CompletionHandler = std::function<void(std::optional<std::vector<uint8_t>> data,
                                                 std::shared_ptr<NSURLResponse> response,
                                                 std::shared_ptr<NSError> error)>;

    // Starts a suspended task; does nothing otherwise.
    void resume();
    // A task not yet completed completes with NSURLErrorCancelled, even one never resumed.
    void cancel();
    NSURLSessionTaskState state() const;

private:
    friend class NSURLSession;
    NSURLSessionDataTask(std::shared_ptr<NSURLSession> session,
                         std::shared_ptr<NSURLRequest> request, CompletionHandler handler)
        : session_(std::move(session)), request_(std::move(request)), handler_(std::move(handler)) {
    }
    // The first call hands the outcome to the delegate queue; later ones are ignored.
    void complete(std::optional<std::vector<uint8_t>> data, std::shared_ptr<NSURLResponse> response,
                  std::shared_ptr<NSError> error);

    const std::shared_ptr<NSURLSession> session_;
    const std::shared_ptr<NSURLRequest> request_;
    mutable std::mutex mutex_;
    CompletionHandler handler_;
    NSURLSessionTaskState state_ = NSURLSessionTaskState::Suspended;
    uint64_t loadId_ = 0;
};
