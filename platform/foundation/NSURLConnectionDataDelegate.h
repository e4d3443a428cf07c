// What a delegate-driven URL connection tells its delegate, on the main thread: each request
// about to be sent (redirects included), the response, its body, and the end.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class NSError;
class NSURLConnection;
class NSURLRequest;
class NSURLResponse;

class NSURLConnectionDataDelegate {
public:
    virtual ~NSURLConnectionDataDelegate() = default;

    // First the request as started (without a redirect response), then the target of each
    // redirect with the answer that asked for it. The request answered is the one sent;
    // null after a redirect stops following it, and that answer becomes the response.
    virtual std::shared_ptr<NSURLRequest>
    connectionWillSendRequestRedirectResponse(NSURLConnection&,
                                              std::shared_ptr<NSURLRequest> request,
                                              const std::shared_ptr<NSURLResponse>&) {
        return request;
    }
    virtual void connectionDidReceiveResponse(NSURLConnection&,
                                              const std::shared_ptr<NSURLResponse>&) {}
    virtual void connectionDidReceiveData(NSURLConnection&, const std::vector<uint8_t>&) {}
    virtual void connectionDidFinishLoading(NSURLConnection&) {}
    virtual void connectionDidFailWithError(NSURLConnection&, const std::shared_ptr<NSError>&) {}
};
