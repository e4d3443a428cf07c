#include "ads/core/ZADURLConnection.h"

#include "ads/core/NSHTTPURLResponse+ZADHeaderParser.h"
#include "ads/core/NSURL+ZADNSURLUtilities.h"
#include "ads/core/ZADCachedURLResponse.h"
#include "ads/core/ZADRequestError.h"
#include "ads/core/ZADURLConnectionDelegate.h"
#include "ads/signals/NSString+ZADStringNumberAdditions.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURLConnection.h"
#include "platform/foundation/NSURLRequest.h"

#include <utility>

namespace {
// The body as text, nothing when it is not UTF-8.
std::optional<std::string> textOf(const std::vector<uint8_t>& data) {
    std::string text(data.begin(), data.end());
    if (!NSString::isValidUTF8(text)) {
        return std::nullopt;
    }
    return text;
}
} // namespace

ZADURLConnection::~ZADURLConnection() {
    if (connection_) {
        connection_->cancel();
    }
}

ZADURLConnection::MemoryCache& ZADURLConnection::memoryCache() {
    static auto* cache = [] {
        auto* made = new MemoryCache;
        made->setCountLimit(kMemoryCacheCountLimit);
        return made;
    }();
    return *cache;
}

void ZADURLConnection::clearCache() {
    memoryCache().removeAllObjects();
}

std::vector<uint8_t> ZADURLConnection::cacheKeyForURL(const NSURL& url) {
    const auto slot = ZADNSURLUtilities::zad_parameterValueForKey(url, "slotname");
    const std::string text =
        slot ? NSString::stringWithFormat("%@%@%@", url.host(), url.path(), *slot)
             : url.absoluteString();
    // The text of a URL is ASCII, so always UTF-8.
    return ZADStringNumberAdditions::zad_MD5Data(text).value_or(std::vector<uint8_t>());
}

bool ZADURLConnection::startWithRequestURLDelegateError(
    const std::shared_ptr<NSURLRequest>& request, std::weak_ptr<ZADURLConnectionDelegate> delegate,
    std::shared_ptr<NSError>* error) {
    if (isInProgress_) {
        if (error) {
            *error = ZADRequestError::errorWithCodeCustomMessage(
                ZADRequestError::NetworkError,
                NSString::stringWithFormat("Ignoring -- Currently loading %@",
                                           sourceURL_ ? sourceURL_->absoluteString()
                                                      : std::string()));
        }
        return false;
    }
    delegate_ = std::move(delegate);
    sourceURL_ = request ? request->URL() : nullptr;
    destinationURL_ = sourceURL_;
    auto keep = self<ZADURLConnection>(); // a delegate may drop this object when told
    if (allowCache_) {
        if (auto entry = cachedResponseForURL(sourceURL_)) {
            if (auto client = delegate_.lock()) {
                serveCachedResponse(*client, *entry);
            }
            return true;
        }
    }
    connection_ = NSURLConnection::initWithRequestDelegateStartImmediately(
        request, std::static_pointer_cast<NSURLConnectionDataDelegate>(keep), false);
    if (!connection_) {
        if (auto client = delegate_.lock()) {
            client->connectionLoadDidFailHTTPStatusCode(*this, nullptr, -1);
        }
        return true;
    }
    receivedData_.clear();
    isInProgress_ = true;
    connection_->start();
    return true;
}

void ZADURLConnection::stop() {
    if (auto connection = std::exchange(connection_, nullptr)) {
        connection->cancel();
    }
    sourceURL_.reset();
    destinationURL_.reset();
    response_.reset();
    receivedData_.clear();
    isInProgress_ = false;
}

void ZADURLConnection::cancel() {
    delegate_.reset();
    stop();
}

std::shared_ptr<ZADCachedURLResponse>
ZADURLConnection::cachedResponseForURL(const std::shared_ptr<NSURL>& url) {
    if (!url) {
        return nullptr;
    }
    const auto key = cacheKeyForURL(*url);
    auto entry = memoryCache().objectForKey(key);
    if (entry && entry->expirationDate() <= NSDate::date()) {
        memoryCache().removeObjectForKey(key);
        return nullptr;
    }
    return entry;
}

bool ZADURLConnection::tryToStoreResponseAndData() {
    const auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response_);
    if (!http || !sourceURL_) {
        return false;
    }
    const auto expiration = ZADHeaderParser::zad_expirationDate(*http);
    if (!expiration || *expiration < NSDate::date()) {
        return false;
    }
    auto entry = ZADCachedURLResponse::initWithResponseDataExpirationDateDestinationURL(
        http, receivedData_, expiration, destinationURL_);
    memoryCache().setObjectForKey(std::move(entry), cacheKeyForURL(*sourceURL_));
    return true;
}

void ZADURLConnection::serveCachedResponse(ZADURLConnectionDelegate& delegate,
                                           const ZADCachedURLResponse& entry) {
    delegate.connectionLoadDidReceiveCachedResponse(*this, entry.response());
    delegate.connectionLoadDidFinishBaseURL(*this, textOf(entry.data()), entry.destinationURL());
}

std::shared_ptr<NSURLRequest> ZADURLConnection::connectionWillSendRequestRedirectResponse(
    NSURLConnection&, std::shared_ptr<NSURLRequest> request,
    const std::shared_ptr<NSURLResponse>& redirectResponse) {
    auto delegate = delegate_.lock();
    if (!redirectResponse) {
        return request;
    }
    if (!delegate) {
        destinationURL_ = request->URL();
        return request;
    }
    auto keep = self<ZADURLConnection>();
    if (auto refusal = delegate->connectionShouldRedirectToURL(*this, request->URL())) {
        stop();
        delegate->connectionLoadDidFailHTTPStatusCode(*this, refusal, -1);
        return nullptr;
    }
    if (!isInProgress_) {
        return nullptr;
    }
    destinationURL_ = request->URL();
    delegate->connectionLoadDidReceiveRedirectResponse(*this, redirectResponse);
    return isInProgress_ ? request : nullptr;
}

void ZADURLConnection::connectionDidReceiveResponse(
    NSURLConnection&, const std::shared_ptr<NSURLResponse>& response) {
    response_ = response;
    receivedData_.clear();
    auto delegate = delegate_.lock();
    if (!delegate) {
        return;
    }
    auto keep = self<ZADURLConnection>();
    const bool cacheable = delegate->connectionLoadShouldUseCachedResponse(*this, response);
    if (!cacheable || !isInProgress_) {
        return;
    }
    allowCache_ = true;
    if (auto entry = cachedResponseForURL(sourceURL_)) {
        // The network's body is not read: the kept answer stands for it.
        stop();
        serveCachedResponse(*delegate, *entry);
    }
}

void ZADURLConnection::connectionDidReceiveData(NSURLConnection&,
                                                const std::vector<uint8_t>& data) {
    receivedData_.insert(receivedData_.end(), data.begin(), data.end());
}

void ZADURLConnection::connectionDidFinishLoading(NSURLConnection&) {
    auto keep = self<ZADURLConnection>();
    if (allowCache_) {
        tryToStoreResponseAndData();
    }
    const auto body = textOf(receivedData_);
    const auto destination = destinationURL_;
    if (auto delegate = delegate_.lock()) {
        delegate->connectionLoadDidFinishBaseURL(*this, body, destination);
    }
    stop();
}

void ZADURLConnection::connectionDidFailWithError(NSURLConnection&,
                                                  const std::shared_ptr<NSError>& error) {
    auto keep = self<ZADURLConnection>();
    const auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response_);
    const long status = http ? http->statusCode() : -1;
    if (auto delegate = delegate_.lock()) {
        delegate->connectionLoadDidFailHTTPStatusCode(*this, error, status);
    }
    stop();
}
