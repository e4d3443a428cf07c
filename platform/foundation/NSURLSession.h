// Loads URLs in the background: data tasks run on the session's own loading thread and
// report on its serial delegate queue, never on the main thread.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSURLSessionDataTask.h"
#include "platform/foundation/URLLoader.h"

#include <cstddef>
#include <memory>
#include <string>

class NSURLSession : public NSObject {
    NS_OBJECT(NSURLSession)
public:
    // One session for the whole process, alive until it ends.
    static std::shared_ptr<NSURLSession> sharedSession();

    // A suspended task: call resume() to start it. A null request or URL fails the load
    // with NSURLErrorBadURL.
    std::shared_ptr<NSURLSessionDataTask>
    dataTaskWithRequestCompletionHandler(std::shared_ptr<NSURLRequest> request,
                                         NSURLSessionDataTask::CompletionHandler handler);
    std::shared_ptr<NSURLSessionDataTask>
    dataTaskWithURLCompletionHandler(std::shared_ptr<NSURL> url,
                                     NSURLSessionDataTask::CompletionHandler handler);

    const dispatch_queue_t& delegateQueue() const { return delegateQueue_; }

    // For tests: also trusts the certificates of a PEM file, for loads started afterwards,
    // besides the system's authorities (curl is given one bundle of both). An empty path
    // goes back to the system's alone, as does a file that cannot be read (logged).
    static void setAdditionalTrustedCertificatesFile(const std::string& pemPath);
    // The largest body a load accepts (64 MiB unless set), for loads started afterwards; a
    // larger one fails with NSURLErrorDataLengthExceedsMaximum.
    static void setMaximumBodySize(size_t bytes);
    // When on, loads to any host but this machine fail at once with
    // NSURLErrorCannotFindHost, unresolved (tests, so that nothing leaves the machine).
    static void setLoopbackOnly(bool loopbackOnly);
    // Back to the system's authorities alone, the default body limit and loads to any
    // host (between tests).
    static void resetForTesting();

private:
    friend class NSURLSessionDataTask;
    NSURLSession();

    dispatch_queue_t delegateQueue_;
    URLLoader loader_;
};
