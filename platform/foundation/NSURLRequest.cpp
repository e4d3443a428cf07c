#include "platform/foundation/NSURLRequest.h"

std::shared_ptr<NSURLRequest> NSURLRequest::requestWithURL(std::shared_ptr<NSURL> url) {
    return requestWithURLCachePolicyTimeoutInterval(
        std::move(url), NSURLRequestCachePolicy::UseProtocolCachePolicy, defaultTimeoutInterval);
}

std::shared_ptr<NSURLRequest> NSURLRequest::requestWithURLCachePolicyTimeoutInterval(
    std::shared_ptr<NSURL> url, NSURLRequestCachePolicy cachePolicy, double timeoutInterval) {
    return std::shared_ptr<NSURLRequest>(
        new NSURLRequest(std::move(url), cachePolicy, timeoutInterval));
}

std::optional<std::string> NSURLRequest::valueForHTTPHeaderField(const std::string& field) const {
    auto found = headerFields_.find(field);
    if (found == headerFields_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string NSURLRequest::description() const {
    return "<" + className() + ": " + NSDescription(url_) + ">";
}
