#include "platform/foundation/NSMutableURLRequest.h"

std::shared_ptr<NSMutableURLRequest>
NSMutableURLRequest::requestWithURL(std::shared_ptr<NSURL> url) {
    return requestWithURLCachePolicyTimeoutInterval(
        std::move(url), NSURLRequestCachePolicy::UseProtocolCachePolicy, defaultTimeoutInterval);
}

std::shared_ptr<NSMutableURLRequest> NSMutableURLRequest::requestWithURLCachePolicyTimeoutInterval(
    std::shared_ptr<NSURL> url, NSURLRequestCachePolicy cachePolicy, double timeoutInterval) {
    return std::shared_ptr<NSMutableURLRequest>(
        new NSMutableURLRequest(std::move(url), cachePolicy, timeoutInterval));
}

void NSMutableURLRequest::setValueForHTTPHeaderField(std::optional<std::string> value,
                                                     const std::string& field) {
    if (!value) {
        headerFields_.erase(field);
        return;
    }
    headerFields_.insert_or_assign(field, std::move(*value));
}

void NSMutableURLRequest::addValueForHTTPHeaderField(const std::string& value,
                                                     const std::string& field) {
    auto [entry, inserted] = headerFields_.try_emplace(field, value);
    if (!inserted) {
        entry->second += "," + value;
    }
}
