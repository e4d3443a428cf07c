// One HTTP load for the engine, on the main thread: follows redirects (each one offered to
// its delegate), collects the body and reports it as text with the URL it came from. Answers
// its delegate declares cacheable are kept in a small process-wide memory cache for as long
// as their caching headers allow, and served from it to later loads of the same URL (ad
// URLs of one slot name count as the same). An answer of any HTTP status that arrives whole
// is a finish; only a load that breaks off, or never gets an answer, fails.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSCache.h"
#include "platform/foundation/NSURLConnectionDataDelegate.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class NSError;
class NSURL;
class NSURLConnection;
class NSURLRequest;
class NSURLResponse;
class ZADCachedURLResponse;
class ZADURLConnectionDelegate;

class ZADURLConnection : public NSObject, public NSURLConnectionDataDelegate {
    NS_OBJECT(ZADURLConnection)
public:
    using MemoryCache = NSCache<std::vector<uint8_t>, ZADCachedURLResponse>;
    static constexpr size_t kMemoryCacheCountLimit = 25;

    static std::shared_ptr<ZADURLConnection> init() { return make<ZADURLConnection>(); }
    ~ZADURLConnection() override;

    // Starts the load (its delegate held weakly). False, with a network error, only while
    // another load of this object runs. A live cached answer (once allowed) is told at once
    // without a request; a request the platform refuses fails at once with status -1.
    bool startWithRequestURLDelegateError(const std::shared_ptr<NSURLRequest>& request,
                                          std::weak_ptr<ZADURLConnectionDelegate> delegate,
                                          std::shared_ptr<NSError>* error);
    // Stops the load and forgets it; the object can start again.
    void stop();
    // The delegate hears nothing more, then stop().
    void cancel();

    bool isInProgress() const { return isInProgress_; }
    const std::shared_ptr<NSURL>& sourceURL() const { return sourceURL_; }
    // Where the redirects led so far.
    const std::shared_ptr<NSURL>& destinationURL() const { return destinationURL_; }

    // The live entry for the URL; an expired one is dropped.
    std::shared_ptr<ZADCachedURLResponse> cachedResponseForURL(const std::shared_ptr<NSURL>& url);
    // Keeps the finished answer when its headers give it a lifetime; whether it was kept.
    bool tryToStoreResponseAndData();

    static MemoryCache& memoryCache();
    static void clearCache();
    // The MD5 digest of the URL's host, path and "slotname" value, or of its whole text
    // when it names no slot.
    static std::vector<uint8_t> cacheKeyForURL(const NSURL& url);

private:
    ZADURLConnection() = default;

    // Tells the delegate the entry as a whole answer.
    void serveCachedResponse(ZADURLConnectionDelegate& delegate, const ZADCachedURLResponse& entry);

    std::shared_ptr<NSURLRequest> connectionWillSendRequestRedirectResponse(
        NSURLConnection& connection, std::shared_ptr<NSURLRequest> request,
        const std::shared_ptr<NSURLResponse>& redirectResponse) override;
    void connectionDidReceiveResponse(NSURLConnection& connection,
                                      const std::shared_ptr<NSURLResponse>& response) override;
    void connectionDidReceiveData(NSURLConnection& connection,
                                  const std::vector<uint8_t>& data) override;
    void connectionDidFinishLoading(NSURLConnection& connection) override;
    void connectionDidFailWithError(NSURLConnection& connection,
                                    const std::shared_ptr<NSError>& error) override;

    bool isInProgress_ = false;
    bool allowCache_ = false;
    std::shared_ptr<NSURL> sourceURL_;
    std::shared_ptr<NSURL> destinationURL_;
    std::weak_ptr<ZADURLConnectionDelegate> delegate_;
    std::shared_ptr<NSURLConnection> connection_;
    std::shared_ptr<NSURLResponse> response_;
    std::vector<uint8_t> receivedData_;
};
