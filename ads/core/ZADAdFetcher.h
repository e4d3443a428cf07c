// The one-shot fetch of an ad response into an ad record: it adds the signed-in
// authorisation for the engine's own hosts, loads the URL (following every redirect),
// reads the "x-rozu-" headers into the record and the engine's settings, classifies the
// response (HTML, mediation, native, custom rendering) and tells its delegate once, on the
// main thread, always after the start call has returned. A response that arrives whole
// with a status outside 2xx fails as its status says, never becomes an ad; header values
// that do not read (malformed JSON, a negative, huge or non-numeric refresh rate, an
// unknown orientation) are skipped with a log line and change nothing. Main thread only.
#pragma once

#include "ads/core/ZADURLConnectionDelegate.h"
#include "platform/base/NSObject.h"
#include "platform/foundation/NSHTTPHeaderFields.h"
#include "platform/foundation/PlistValue.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class NSError;
class NSURL;
class NSURLRequest;
class NSURLResponse;
class ZADAd;
class ZADAdFetcherDelegate;
class ZADRequest;
class ZADURLConnection;

class ZADAdFetcher : public NSObject, public ZADURLConnectionDelegate {
    NS_OBJECT(ZADAdFetcher)
public:
    // The hosts that get the signed-in token, as the server's constants list them.
    static constexpr const char* kWhitelistedDomainsKey =
        "/zivido/ads/whitelisted_ad_request_domains";
    static constexpr const char* kContentURLEnabledKey = "/zivido/ads/content_url_enabled";
    static constexpr const char* kRenderInBrowserKey = "/zivido/ads/render_in_browser";
    static constexpr const char* kUseHTTPSKey = "/zivido/ads/use_https";
    // A refresh rate above a day is no refresh the server means.
    static constexpr double kLongestRefreshRate = 86400;
    static constexpr const char* kRejectedParametersMessage =
        "Server rejected ad parameters. Typically this is because the ad unit ID is incorrect.";

    static std::shared_ptr<ZADAdFetcher> init();
    // Stops a load still running.
    ~ZADAdFetcher() override;

    // Fetches the request into a fresh record. Every start answers through the delegate
    // (held weakly) unless it returns false: only a second start does, with the error.
    bool fetchRequestURLDelegateError(const std::shared_ptr<NSURLRequest>& request,
                                      const std::shared_ptr<ZADAdFetcherDelegate>& delegate,
                                      std::shared_ptr<NSError>* error);
    // Fetches the record's ad URL when it has no HTML yet; otherwise (or with neither)
    // fetches nothing and only reads the given headers.
    bool fetchRemainingContentForAdHeadersDelegateError(
        const std::shared_ptr<ZADAd>& ad, const std::optional<PlistValue::Dictionary>& headers,
        const std::shared_ptr<ZADAdFetcherDelegate>& delegate, std::shared_ptr<NSError>* error);
    // The common start: a null request fetches nothing.
    bool fetchRequestURLDelegateResponseHeadersResponseAdError(
        const std::shared_ptr<NSURLRequest>& request,
        const std::shared_ptr<ZADAdFetcherDelegate>& delegate,
        const std::optional<PlistValue::Dictionary>& headers, const std::shared_ptr<ZADAd>& ad,
        std::shared_ptr<NSError>* error);

    // The stored list, else the ad server's host; read once per process.
    static std::set<std::string> whitelistedDomains();
    // Reads the list again at next use (between tests).
    static void resetForTesting();
    // {"Authorization": "Bearer <token>"} for https to a whitelisted host with a token at
    // hand; nothing otherwise.
    std::optional<NSHTTPHeaderFields> requestHeadersForURL(const std::shared_ptr<NSURL>& url);

    // The delegate hears nothing more and the load stops.
    void cancel();

    // Attached to the errors made here.
    const std::shared_ptr<ZADRequest>& request() const { return request_; }
    void setRequest(std::shared_ptr<ZADRequest> request) { request_ = std::move(request); }

    // Applies one set of response headers to the record and the settings (names in any
    // case); a set that classifies as a failure fails the fetch.
    void processHTTPHeaders(const PlistValue::Dictionary& headers);
    // The response type for lowercased headers; a mediation answer that is not JSON is type
    // 0 with a server error.
    uint64_t adResponseTypeFromHeadersRequestError(const PlistValue::Dictionary& headers,
                                                   std::shared_ptr<NSError>* error) const;
    // URLs of text split at white space; pieces that are no URL are skipped.
    static std::vector<std::shared_ptr<NSURL>>
    ZADURLsFromWhitespaceSeparatedString(const std::string& text);

private:
    ZADAdFetcher() = default;

    // The connection's questions and reports; a mediation answer may come from, and go
    // into, its memory cache.
    std::shared_ptr<NSError>
    connectionShouldRedirectToURL(ZADURLConnection& connection,
                                  const std::shared_ptr<NSURL>& url) override;
    void connectionLoadDidReceiveRedirectResponse(
        ZADURLConnection& connection, const std::shared_ptr<NSURLResponse>& response) override;
    bool
    connectionLoadShouldUseCachedResponse(ZADURLConnection& connection,
                                          const std::shared_ptr<NSURLResponse>& response) override;
    void
    connectionLoadDidReceiveCachedResponse(ZADURLConnection& connection,
                                           const std::shared_ptr<NSURLResponse>& response) override;
    void connectionLoadDidFinishBaseURL(ZADURLConnection& connection,
                                        const std::optional<std::string>& body,
                                        const std::shared_ptr<NSURL>& baseURL) override;
    void connectionLoadDidFailHTTPStatusCode(ZADURLConnection& connection,
                                             const std::shared_ptr<NSError>& error,
                                             long statusCode) override;

    // Reads the headers of an HTTP response; the status of the one the body belongs to
    // (not a redirect's) is kept.
    void processResponse(const std::shared_ptr<NSURLResponse>& response, bool isFinal);
    void loadDidFailHTTPStatusCode(long status);
    void completedURLConnection();
    void resourceFailedToLoadWithErrorResponseCode(const std::shared_ptr<NSError>& error,
                                                   long responseCode);

    std::shared_ptr<ZADURLConnection> adConnection_;
    // The status of the answer the body belongs to; none before one came.
    std::optional<long> responseStatus_;
    std::shared_ptr<ZADAd> ad_;
    std::shared_ptr<ZADRequest> request_;
    std::weak_ptr<ZADAdFetcherDelegate> delegate_;
    std::optional<std::string> signedInAdsToken_;
    bool hasStartedFetch_ = false;
    bool hasNotifiedDelegate_ = false;
    bool adConnectionHasCompleted_ = false;
    // A failure is on its way to the delegate.
    bool isFailing_ = false;
};
