// What the engine's URL connection asks and tells its client, on the main thread.
#pragma once

#include <memory>
#include <optional>
#include <string>

class NSError;
class NSURL;
class NSURLResponse;
class ZADURLConnection;

class ZADURLConnectionDelegate {
public:
    virtual ~ZADURLConnectionDelegate() = default;
    // An error stops the load before the redirect is followed and becomes its failure.
    virtual std::shared_ptr<NSError>
    connectionShouldRedirectToURL(ZADURLConnection&, const std::shared_ptr<NSURL>&) = 0;
    virtual void
    connectionLoadDidReceiveRedirectResponse(ZADURLConnection&,
                                             const std::shared_ptr<NSURLResponse>&) = 0;
    // Asked of the final response: whether it may be served from, and kept in, the memory
    // cache.
    virtual bool connectionLoadShouldUseCachedResponse(ZADURLConnection&,
                                                       const std::shared_ptr<NSURLResponse>&) = 0;
    // A kept answer is served instead of the network's; its body follows as a finish.
    virtual void connectionLoadDidReceiveCachedResponse(ZADURLConnection&,
                                                        const std::shared_ptr<NSURLResponse>&) = 0;
    // The body as text (nothing when it is not UTF-8) and the URL it came from.
    virtual void connectionLoadDidFinishBaseURL(ZADURLConnection&,
                                                const std::optional<std::string>& body,
                                                const std::shared_ptr<NSURL>& baseURL) = 0;
    // The error (may be null) and the HTTP status, -1 when no HTTP response came.
    virtual void connectionLoadDidFailHTTPStatusCode(ZADURLConnection&,
                                                     const std::shared_ptr<NSError>& error,
                                                     long statusCode) = 0;
};
