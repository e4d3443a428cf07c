#include "ads/core/ZADCachedURLResponse.h"

#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLResponse.h"

std::shared_ptr<ZADCachedURLResponse>
ZADCachedURLResponse::initWithResponseDataExpirationDateDestinationURL(
    std::shared_ptr<NSURLResponse> response, std::optional<std::vector<uint8_t>> data,
    std::optional<NSDate> expirationDate, std::shared_ptr<NSURL> destinationURL) {
    if (!response || !data || !expirationDate) {
        return nullptr;
    }
    auto entry = make<ZADCachedURLResponse>();
    entry->response_ = std::move(response);
    entry->data_ = std::move(*data);
    entry->expirationDate_ = *expirationDate;
    entry->destinationURL_ = std::move(destinationURL);
    return entry;
}
