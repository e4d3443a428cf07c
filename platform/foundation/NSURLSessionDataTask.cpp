#include "platform/foundation/NSURLSessionDataTask.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSURLSession.h"

void NSURLSessionDataTask::resume() {
    std::lock_guard lock(mutex_);
    if (state_ != NSURLSessionTaskState::Suspended) {
        return;
    }
    state_ = NSURLSessionTaskState::Running;
    // The load holds the task until it completes. Its completion comes on the loader's
    // thread, never from inside load(), so taking the lock there cannot deadlock.
    loadId_ = session_->loader_.load(
        request_, [task = self<NSURLSessionDataTask>()](std::shared_ptr<NSURLResponse> response,
                                                        std::optional<std::vector<uint8_t>> data,
                                                        std::shared_ptr<NSError> error) {
            task->complete(std::move(data), std::move(response), std::move(error));
        });
}

void NSURLSessionDataTask::cancel() {
    NSURLSessionTaskState previous;
    {
        std::lock_guard lock(mutex_);
        previous = state_;
        if (previous == NSURLSessionTaskState::Running) {
            session_->loader_.cancel(loadId_);
        }
        if (previous == NSURLSessionTaskState::Running ||
            previous == NSURLSessionTaskState::Suspended) {
            state_ = NSURLSessionTaskState::Canceling;
        }
    }
    if (previous == NSURLSessionTaskState::Suspended) {
        std::string url = request_ && request_->URL() ? request_->URL()->absoluteString() : "";
        complete(std::nullopt, nullptr, NSURLErrorWithCode(NSURLErrorCancelled, url));
    }
}

NSURLSessionTaskState NSURLSessionDataTask::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void NSURLSessionDataTask::complete(std::optional<std::vector<uint8_t>> data,
                                    std::shared_ptr<NSURLResponse> response,
                                    std::shared_ptr<NSError> error) {
    CompletionHandler handler;
    {
        std::lock_guard lock(mutex_);
        if (state_ == NSURLSessionTaskState::Completed) {
            return;
        }
        state_ = NSURLSessionTaskState::Completed;
        handler = std::move(handler_);
    }
    if (handler) {
        dispatch_async(session_->delegateQueue(),
                       [handler = std::move(handler), data = std::move(data),
                        response = std::move(response), error = std::move(error)]() mutable {
                           handler(std::move(data), std::move(response), std::move(error));
                       });
    }
}
