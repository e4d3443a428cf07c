// A URL load request that can be changed: the one to build before loading. A load works
// on a copy taken when it starts, so later changes do not reach it.
#pragma once

#include "platform/foundation/NSURLRequest.h"

class NSMutableURLRequest : public NSURLRequest {
    NS_OBJECT(NSMutableURLRequest)
public:
    static std::shared_ptr<NSMutableURLRequest> requestWithURL(std::shared_ptr<NSURL> url);
    static std::shared_ptr<NSMutableURLRequest> requestWithURLCachePolicyTimeoutInterval(
        std::shared_ptr<NSURL> url, NSURLRequestCachePolicy cachePolicy, double timeoutInterval);

    void setURL(std::shared_ptr<NSURL> url) { url_ = std::move(url); }
    void setHTTPMethod(std::string method) { method_ = std::move(method); }
    void setAllHTTPHeaderFields(NSHTTPHeaderFields fields) { headerFields_ = std::move(fields); }
    // Replaces the field's value (its name matched without regard to case); no value
    // removes the field.
    void setValueForHTTPHeaderField(std::optional<std::string> value, const std::string& field);
    // Appends to the field's value after a comma, or sets it when absent.
    void addValueForHTTPHeaderField(const std::string& value, const std::string& field);
    void setHTTPBody(std::vector<uint8_t> body) { body_ = std::move(body); }
    void setTimeoutInterval(double seconds) { timeoutInterval_ = seconds; }
    void setCachePolicy(NSURLRequestCachePolicy policy) { cachePolicy_ = policy; }
    void setMaximumBodySize(std::optional<size_t> bytes) { maximumBodySize_ = bytes; }

private:
    using NSURLRequest::NSURLRequest;
};
