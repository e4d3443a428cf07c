#include "ads/core/ZADAdFetcher.h"

#include "ads/core/NSDictionary+ZADObjectValidation.h"
#include "ads/core/NSString+ZADJSONAdditions.h"
#include "ads/core/NSURLRequest+ZADNSURLRequestUtilities.h"
#include "ads/core/ZADAd.h"
#include "ads/core/ZADAdFetcherDelegate.h"
#include "ads/core/ZADAutoClickProtection.h"
#include "ads/core/ZADOrientationMaskFromString.h"
#include "ads/core/ZADRequestError.h"
#include "ads/core/ZADTokenDispenser.h"
#include "ads/core/ZADURLConnection.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADCSI.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADLocationService.h"
#include "ads/signals/ZADLogPrint.h"
#include "ads/signals/ZADLogger.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/WeakAction.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace {
using Dictionary = PlistValue::Dictionary;

std::string lowercased(std::string text) {
    for (auto& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// The header's value when it is text.
const std::string* textFor(const Dictionary& headers, const char* name) {
    const auto found = headers.find(name);
    return found == headers.end() ? nullptr : found->second.string();
}

// The platform's reading of a value as a bool (text: Y, y, T, t or 1-9 first).
std::optional<bool> boolFor(const Dictionary& headers, const char* name) {
    const auto found = headers.find(name);
    if (found == headers.end()) {
        return std::nullopt;
    }
    if (const auto* text = found->second.string()) {
        return NSString::boolValue(*text);
    }
    return found->second.boolValue();
}

// The header's JSON object; a value that is missing, not text or not a JSON object is
// nothing (malformed text is logged).
std::optional<Dictionary> objectFor(const Dictionary& headers, const char* name) {
    const auto* text = textFor(headers, name);
    if (!text) {
        return std::nullopt;
    }
    auto decoded = ZADJSONAdditions::zad_decodedJSONObject(*text);
    if (decoded.hasError() || !decoded.value().dictionary()) {
        ZADLogPrint("Ignoring the header %@: not a JSON object: %@", std::string(name), *text);
        return std::nullopt;
    }
    return *decoded.value().dictionary();
}

// Seconds from text that is a finite number and nothing else (blanks around it aside).
std::optional<double> secondsFrom(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(start, &end);
    while (end && std::isspace(static_cast<unsigned char>(*end))) {
        ++end;
    }
    if (end == start || *end != '\0' || errno == ERANGE || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

struct Whitelist {
    std::mutex mutex;
    std::optional<std::set<std::string>> domains;
};

Whitelist& whitelist() {
    static Whitelist instance;
    return instance;
}
} // namespace

std::shared_ptr<ZADAdFetcher> ZADAdFetcher::init() {
    auto fetcher = make<ZADAdFetcher>();
    fetcher->adConnection_ = ZADURLConnection::init();
    return fetcher;
}

ZADAdFetcher::~ZADAdFetcher() {
    adConnection_->cancel();
}

std::set<std::string> ZADAdFetcher::whitelistedDomains() {
    std::lock_guard lock(whitelist().mutex);
    if (!whitelist().domains) {
        std::set<std::string> domains;
        const auto stored =
            NSUserDefaults::standardUserDefaults()->objectForKey(kWhitelistedDomainsKey);
        if (stored.array()) {
            for (auto& host : ZADObjectValidation::zad_stringsOf(*stored.array())) {
                domains.insert(std::move(host));
            }
        } else if (auto server = NSURL::URLWithString(ZADAdServer::baseURL())) {
            domains.insert(server->host());
        }
        whitelist().domains = std::move(domains);
    }
    return *whitelist().domains;
}

void ZADAdFetcher::resetForTesting() {
    std::lock_guard lock(whitelist().mutex);
    whitelist().domains.reset();
}

std::optional<NSHTTPHeaderFields>
ZADAdFetcher::requestHeadersForURL(const std::shared_ptr<NSURL>& url) {
    if (!url || lowercased(url->scheme()) != "https" || !whitelistedDomains().count(url->host())) {
        return std::nullopt;
    }
    auto token = ZADTokenDispenser::token();
    if (!token) {
        return std::nullopt;
    }
    signedInAdsToken_ = token;
    return NSHTTPHeaderFields{{"Authorization", "Bearer " + *token}};
}

bool ZADAdFetcher::fetchRequestURLDelegateError(
    const std::shared_ptr<NSURLRequest>& request,
    const std::shared_ptr<ZADAdFetcherDelegate>& delegate, std::shared_ptr<NSError>* error) {
    return fetchRequestURLDelegateResponseHeadersResponseAdError(request, delegate, std::nullopt,
                                                                 ZADAd::init(), error);
}

bool ZADAdFetcher::fetchRemainingContentForAdHeadersDelegateError(
    const std::shared_ptr<ZADAd>& ad, const std::optional<Dictionary>& headers,
    const std::shared_ptr<ZADAdFetcherDelegate>& delegate, std::shared_ptr<NSError>* error) {
    auto record = ad ? ad : ZADAd::init();
    std::shared_ptr<NSURLRequest> request;
    if (record->adHTML().empty() && record->adURL()) {
        request = ZADNSURLRequestUtilities::zad_requestForURLDataHeadersType(
            record->adURL(), std::nullopt,
            requestHeadersForURL(record->adURL()).value_or(NSHTTPHeaderFields()), std::nullopt);
    }
    return fetchRequestURLDelegateResponseHeadersResponseAdError(request, delegate, headers, record,
                                                                 error);
}

bool ZADAdFetcher::fetchRequestURLDelegateResponseHeadersResponseAdError(
    const std::shared_ptr<NSURLRequest>& request,
    const std::shared_ptr<ZADAdFetcherDelegate>& delegate, const std::optional<Dictionary>& headers,
    const std::shared_ptr<ZADAd>& ad, std::shared_ptr<NSError>* error) {
    if (hasStartedFetch_) {
        if (error) {
            *error = ZADRequestError::errorWithCodeCustomMessage(
                ZADRequestError::NetworkError,
                "Could not start fetch. This object has already been used to fetch.");
        }
        return false;
    }
    hasStartedFetch_ = true;
    delegate_ = delegate;
    ad_ = ad ? ad : ZADAd::init();
    if (request) {
        // A request the connection cannot make fails through the delegate; a connection
        // that would not start at all ends the fetch here.
        if (!adConnection_->startWithRequestURLDelegateError(
                request, std::static_pointer_cast<ZADURLConnectionDelegate>(self<ZADAdFetcher>()),
                nullptr)) {
            adConnectionHasCompleted_ = true;
            if (error) {
                *error = ZADRequestError::errorWithCodeCustomMessage(
                    ZADRequestError::NetworkError, "Failed to start ad connection.");
            }
            return false;
        }
    } else {
        adConnectionHasCompleted_ = true;
    }
    ad_->setResponseType(ZADAd::HTML);
    if (headers) {
        processHTTPHeaders(*headers);
    }
    if (adConnectionHasCompleted_) {
        dispatch_async(dispatch_get_main_queue(),
                       weakCall(weakSelf<ZADAdFetcher>(),
                                [](ZADAdFetcher& self) { self.completedURLConnection(); }));
    }
    return true;
}

void ZADAdFetcher::cancel() {
    delegate_.reset();
    adConnection_->cancel();
    adConnectionHasCompleted_ = true;
}

void ZADAdFetcher::processResponse(const std::shared_ptr<NSURLResponse>& response, bool isFinal) {
    const auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response);
    if (!http) {
        return;
    }
    if (isFinal) {
        responseStatus_ = http->statusCode();
    }
    Dictionary headers;
    for (const auto& [name, value] : http->allHeaderFields()) {
        headers[name] = value;
    }
    processHTTPHeaders(headers);
}

std::shared_ptr<NSError>
ZADAdFetcher::connectionShouldRedirectToURL(ZADURLConnection&, const std::shared_ptr<NSURL>&) {
    return nullptr; // every redirect is followed
}

void ZADAdFetcher::connectionLoadDidReceiveRedirectResponse(
    ZADURLConnection&, const std::shared_ptr<NSURLResponse>& response) {
    processResponse(response, false);
}

bool ZADAdFetcher::connectionLoadShouldUseCachedResponse(
    ZADURLConnection&, const std::shared_ptr<NSURLResponse>& response) {
    processResponse(response, true);
    return ad_->responseType() == ZADAd::Mediation;
}

void ZADAdFetcher::connectionLoadDidReceiveCachedResponse(
    ZADURLConnection&, const std::shared_ptr<NSURLResponse>& response) {
    processResponse(response, true);
}

void ZADAdFetcher::connectionLoadDidFinishBaseURL(ZADURLConnection&,
                                                  const std::optional<std::string>& body,
                                                  const std::shared_ptr<NSURL>& baseURL) {
    if (adConnectionHasCompleted_) {
        return; // cancelled, or already failed on its headers
    }
    // A whole answer of another status than 2xx is the server's refusal, never an ad.
    if (responseStatus_ && (*responseStatus_ < 200 || *responseStatus_ > 299)) {
        loadDidFailHTTPStatusCode(*responseStatus_);
        return;
    }
    ad_->setAdHTML(body.value_or(std::string()));
    ad_->setAdBaseURL(baseURL);
    adConnectionHasCompleted_ = true;
    completedURLConnection();
}

void ZADAdFetcher::connectionLoadDidFailHTTPStatusCode(ZADURLConnection&,
                                                       const std::shared_ptr<NSError>&,
                                                       long statusCode) {
    if (adConnectionHasCompleted_) {
        return;
    }
    loadDidFailHTTPStatusCode(statusCode);
}

void ZADAdFetcher::loadDidFailHTTPStatusCode(long status) {
    ad_->setAdHTML(std::string());
    ad_->setAdBaseURL(nullptr);
    std::shared_ptr<NSError> error;
    if (status == 400) {
        error = ZADRequestError::errorWithCodeRequest(ZADRequestError::InvalidRequest, request_);
        ZADLogger::sharedInstance()->logPublicMessage(kRejectedParametersMessage);
    } else if (status >= 401) {
        error = ZADRequestError::errorWithCodeRequestHTTPStatusCode(ZADRequestError::ServerError,
                                                                    request_, status);
    } else if (status == -1) {
        error = ZADRequestError::errorWithCodeRequestHTTPStatusCode(
            ZADRequestError::ReceivedInvalidResponse, request_, status);
    } else {
        error = ZADRequestError::errorWithCodeRequestHTTPStatusCode(ZADRequestError::NetworkError,
                                                                    request_, status);
    }
    resourceFailedToLoadWithErrorResponseCode(error, status);
}

void ZADAdFetcher::completedURLConnection() {
    if (hasNotifiedDelegate_ || isFailing_ || !adConnectionHasCompleted_) {
        return;
    }
    auto delegate = delegate_.lock();
    if (!delegate) {
        return;
    }
    hasNotifiedDelegate_ = true;
    auto keep = self<ZADAdFetcher>(); // the delegate may drop its fetcher
    if (ad_->responseType() != ZADAd::Failure && !ad_->adHTML().empty()) {
        delegate->adFetcherDidFetchAd(*this, ad_);
        return;
    }
    delegate->adFetcherDidFailToFetchAdWithErrorResponseCode(
        *this, ad_,
        ZADRequestError::errorWithCodeRequest(ad_->responseType() != ZADAd::Failure
                                                  ? ZADRequestError::NoFill
                                                  : ZADRequestError::InternalError,
                                              request_),
        0);
}

void ZADAdFetcher::resourceFailedToLoadWithErrorResponseCode(const std::shared_ptr<NSError>& error,
                                                             long responseCode) {
    if (hasNotifiedDelegate_ || isFailing_) {
        return;
    }
    // The load stops now; the delegate hears of it from the main queue, so never inside a
    // start call that found the failure in the headers it was given.
    isFailing_ = true;
    adConnectionHasCompleted_ = true;
    adConnection_->cancel();
    dispatch_async(dispatch_get_main_queue(),
                   weakCall(weakSelf<ZADAdFetcher>(), [error, responseCode](ZADAdFetcher& self) {
                       auto delegate = self.delegate_.lock();
                       if (!delegate || self.hasNotifiedDelegate_) {
                           return;
                       }
                       self.hasNotifiedDelegate_ = true;
                       auto keep = self.self<ZADAdFetcher>();
                       delegate->adFetcherDidFailToFetchAdWithErrorResponseCode(
                           self, self.ad_, error, responseCode);
                       self.cancel();
                   }));
}

uint64_t
ZADAdFetcher::adResponseTypeFromHeadersRequestError(const Dictionary& headers,
                                                    std::shared_ptr<NSError>* error) const {
    if (boolFor(headers, "x-rozu-mediation").value_or(false)) {
        const auto* type = textFor(headers, "content-type");
        if (type && type->rfind("application/json", 0) == 0) {
            return ZADAd::Mediation;
        }
        if (error) {
            *error = ZADRequestError::errorWithCodeRequest(ZADRequestError::ServerError, request_);
        }
        return ZADAd::Failure;
    }
    if (const auto* format = textFor(headers, "x-rozu-ad-format");
        format && lowercased(*format) == "native") {
        return ZADAd::Native;
    }
    if (boolFor(headers, "x-rozu-custom-rendering-allowed").value_or(false)) {
        return ZADAd::CustomRendering;
    }
    return ZADAd::HTML;
}

std::vector<std::shared_ptr<NSURL>>
ZADAdFetcher::ZADURLsFromWhitespaceSeparatedString(const std::string& text) {
    std::vector<std::shared_ptr<NSURL>> urls;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
            ++at;
        }
        size_t end = at;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) {
            ++end;
        }
        if (end > at) {
            if (auto url = NSURL::URLWithString(text.substr(at, end - at))) {
                urls.push_back(std::move(url));
            }
        }
        at = end;
    }
    return urls;
}

void ZADAdFetcher::processHTTPHeaders(const Dictionary& given) {
    Dictionary headers;
    for (const auto& [name, value] : given) {
        headers[lowercased(name)] = value;
    }
    Dictionary merged = ad_->responseHeaders();
    for (const auto& [name, value] : headers) {
        merged[name] = value;
    }
    ad_->setResponseHeaders(std::move(merged));

    std::shared_ptr<NSError> classificationError;
    const uint64_t type = adResponseTypeFromHeadersRequestError(headers, &classificationError);
    ad_->setResponseType(type);
    if (type == ZADAd::Failure) {
        resourceFailedToLoadWithErrorResponseCode(classificationError, 0);
    }

    if (const auto* urls = textFor(headers, "x-rozu-click-tracking-urls")) {
        ad_->addClickURLsFromArray(ZADURLsFromWhitespaceSeparatedString(*urls));
    }
    if (const auto* urls = textFor(headers, "x-rozu-tracking-urls")) {
        ad_->addImpressionURLsFromArray(ZADURLsFromWhitespaceSeparatedString(*urls));
    }
    if (const auto* urls = textFor(headers, "x-rozu-manual-tracking-urls")) {
        ad_->addManualImpressionURLsFromArray(ZADURLsFromWhitespaceSeparatedString(*urls));
    }
    auto defaults = NSUserDefaults::standardUserDefaults();
    const auto* optedOut = textFor(headers, "x-rozu-content-url-opted-out");
    if (optedOut && *optedOut == "false") {
        ZADApplication::sharedInstance()->startContentHashing();
        defaults->setBoolForKey(true, kContentURLEnabledKey);
    } else {
        ZADApplication::sharedInstance()->stopContentHashing();
        defaults->removeObjectForKey(kContentURLEnabledKey);
    }
    if (const auto* render = textFor(headers, "x-rozu-render-in-browser")) {
        defaults->setBoolForKey(NSString::boolValue(*render), kRenderInBrowserKey);
    }
    ad_->setActiveViewConfigurations(objectFor(headers, "x-rozu-activeview"));
    if (const auto* displayed = textFor(headers, "x-rozu-use-displayed-impression");
        displayed && NSString::boolValue(*displayed)) {
        ad_->setImpressionDefinition(1);
    }
    if (const auto* orientation = textFor(headers, "x-rozu-orientation")) {
        if (const uint64_t mask = ZADOrientationMaskFromString(*orientation)) {
            ad_->setSupportedOrientations(mask);
        } else {
            ZADLogPrint(
                "Ignoring the header x-rozu-orientation: not any, portrait or landscape: %@",
                *orientation);
        }
    }
    if (const auto* rate = textFor(headers, "x-rozu-refresh-rate"); rate && !rate->empty()) {
        const auto seconds = secondsFrom(*rate);
        if (seconds && *seconds >= 0 && *seconds <= kLongestRefreshRate) {
            ad_->setReloadInterval(*seconds);
        } else {
            ZADLogPrint("Ignoring the header x-rozu-refresh-rate: not a number of seconds from 0 "
                        "to a day: %@",
                        *rate);
        }
    }
    const auto* dialog = textFor(headers, "x-rozu-debug-dialog");
    ad_->setDebugDialogString(dialog ? std::optional(*dialog) : std::nullopt);
    const auto* adSize = textFor(headers, "x-rozu-ad-size");
    ad_->setCustomAdSizeString(adSize ? std::optional(*adSize) : std::nullopt);
    ad_->setScrollEnabled(
        !boolFor(headers, "x-rozu-disable-activation-and-scroll").value_or(false));
    if (const auto useHTTPS = boolFor(headers, "x-rozu-use-https")) {
        defaults->setBoolForKey(*useHTTPS, kUseHTTPSKey);
    } else if (defaults->objectForKey(kUseHTTPSKey).isNull()) {
        defaults->setBoolForKey(false, kUseHTTPSKey);
    }
    if (const auto* status = textFor(headers, "x-rozu-oauth-token-status");
        status && lowercased(*status) == "clear" && signedInAdsToken_) {
        ZADTokenDispenser::refreshToken(*std::exchange(signedInAdsToken_, std::nullopt));
    }
    if (const auto* fluid = textFor(headers, "x-rozu-fluid");
        fluid && lowercased(*fluid) == "height") {
        ad_->setFluid(true);
    }
    if (const auto* queryID = textFor(headers, "x-rozu-zws-query-id")) {
        ZADCSI::sharedInstance()->setZWSQueryID(*queryID);
    }
    ZADLocationService::sharedInstance()->setPublisherAuthorized(
        boolFor(headers, "x-rozu-auto-collect-location").value_or(false));
    if (auto swipe = objectFor(headers, "x-rozu-swipe-to-view-controller");
        swipe && !swipe->empty()) {
        ad_->setSwipeToViewControllerConfigurations(std::move(swipe));
    }
    if (auto protection = objectFor(headers, "x-rozu-auto-protection-configuration")) {
        ad_->setAutoClickProtection(ZADAutoClickProtection::initWithDictionary(*protection));
    }
}
