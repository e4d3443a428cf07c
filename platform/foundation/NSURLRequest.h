// A URL load request: the URL, the HTTP method, header fields and body, a timeout and a
// cache policy. Immutable; NSMutableURLRequest is the one to build up.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSHTTPHeaderFields.h"
#include "platform/foundation/NSURL.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class NSURLRequestCachePolicy {
    UseProtocolCachePolicy = 0,
    ReloadIgnoringLocalCacheData = 1,
    ReturnCacheDataElseLoad = 2,
    ReturnCacheDataDontLoad = 3,
};

class NSURLRequest : public NSObject {
    NS_OBJECT(NSURLRequest)
public:
    // A GET with the default policy and a 60-second timeout. A null URL makes a request
    // whose load fails with NSURLErrorBadURL.
    static std::shared_ptr<NSURLRequest> requestWithURL(std::shared_ptr<NSURL> url);
    static std::shared_ptr<NSURLRequest> requestWithURLCachePolicyTimeoutInterval(
        std::shared_ptr<NSURL> url, NSURLRequestCachePolicy cachePolicy, double timeoutInterval);

    const std::shared_ptr<NSURL>& URL() const { return url_; }
    const std::string& HTTPMethod() const { return method_; }
    const NSHTTPHeaderFields& allHTTPHeaderFields() const { return headerFields_; }
    // The field's value, its name matched without regard to case; nothing when absent.
    std::optional<std::string> valueForHTTPHeaderField(const std::string& field) const;
    // Empty when the request has no body.
    const std::vector<uint8_t>& HTTPBody() const { return body_; }
    // Seconds the load may wait for the next data before it fails as timed out.
    double timeoutInterval() const { return timeoutInterval_; }
    NSURLRequestCachePolicy cachePolicy() const { return cachePolicy_; }
    // Ours, not the platform's: the largest body this load reads before it fails with
    // NSURLErrorDataLengthExceedsMaximum, for a caller that refuses larger answers anyway;
    // nothing for the session's limit (which also bounds this one).
    std::optional<size_t> maximumBodySize() const { return maximumBodySize_; }

    // "<NSURLRequest: URL>"
    std::string description() const override;

protected:
    static constexpr double defaultTimeoutInterval = 60;

    NSURLRequest(std::shared_ptr<NSURL> url, NSURLRequestCachePolicy cachePolicy,
                 double timeoutInterval)
        : url_(std::move(url)), cachePolicy_(cachePolicy), timeoutInterval_(timeoutInterval) {}

    std::shared_ptr<NSURL> url_;
    std::string method_ = "GET";
    NSHTTPHeaderFields headerFields_;
    std::vector<uint8_t> body_;
    NSURLRequestCachePolicy cachePolicy_;
    double timeoutInterval_;
    std::optional<size_t> maximumBodySize_;
};
