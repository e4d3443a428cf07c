// One answer kept in the connection's memory cache: the response, its body, when it stops
// being fresh and where its redirects led.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSDate.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class NSURL;
class NSURLResponse;

class ZADCachedURLResponse : public NSObject {
    NS_OBJECT(ZADCachedURLResponse)
public:
    // Null without a response, a body or an expiration date.
    static std::shared_ptr<ZADCachedURLResponse> initWithResponseDataExpirationDateDestinationURL(
        std::shared_ptr<NSURLResponse> response, std::optional<std::vector<uint8_t>> data,
        std::optional<NSDate> expirationDate, std::shared_ptr<NSURL> destinationURL);

    const std::shared_ptr<NSURLResponse>& response() const { return response_; }
    const std::vector<uint8_t>& data() const { return data_; }
    const NSDate& expirationDate() const { return expirationDate_; }
    const std::shared_ptr<NSURL>& destinationURL() const { return destinationURL_; }

private:
    ZADCachedURLResponse() = default;

    std::shared_ptr<NSURLResponse> response_;
    std::vector<uint8_t> data_;
    NSDate expirationDate_;
    std::shared_ptr<NSURL> destinationURL_;
};
