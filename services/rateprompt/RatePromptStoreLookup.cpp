#include "services/rateprompt/RatePromptStoreLookup.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSMutableURLRequest.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLConnection.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/uikit/WeakAction.h"

#include <nlohmann/json.hpp>

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>

namespace {
using Query = RatePromptStoreLookup::Query;
using Result = RatePromptStoreLookup::Result;

std::shared_ptr<NSError> makeError(const std::string& domain, long code,
                                   const std::string& description) {
    return NSError::errorWithDomainCodeUserInfo(
        domain, code, {{NSLocalizedDescriptionKey, PlistValue(description)}});
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Query values travel percent-escaped, whatever the settings hold.
std::string percentEscaped(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string escaped;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            escaped += static_cast<char>(c);
        } else {
            escaped += '%';
            escaped += hex[c >> 4];
            escaped += hex[c & 0xf];
        }
    }
    return escaped;
}

// The request for the query, or null with `error` set when the base URL is not usable.
std::shared_ptr<NSURLRequest> requestForQuery(const std::string& baseURL, double timeout,
                                              const Query& query, std::shared_ptr<NSError>& error) {
    auto base = NSURL::URLWithString(baseURL);
    std::string scheme = base ? lowercase(base->scheme()) : "";
    if (!base || (scheme != "https" && scheme != "http") || base->host().empty()) {
        error = makeError(NSURLErrorDomain, NSURLErrorUnsupportedURL,
                          NSString::stringWithFormat(
                              "RatePrompt cannot use %@ as the lookup service: it must be an "
                              "http or https URL with a host",
                              baseURL));
        return nullptr;
    }
    if (scheme == "http" && !base->isLoopbackHost()) {
        error = makeError(NSURLErrorDomain, NSURLErrorUnsupportedURL,
                          NSString::stringWithFormat(
                              "RatePrompt refuses the lookup service %@: plain http is allowed "
                              "only for loopback hosts (127.0.0.0/8, localhost, ::1)",
                              baseURL));
        return nullptr;
    }
    std::string root = baseURL;
    while (!root.empty() && root.back() == '/') {
        root.pop_back();
    }
    std::string text = root + "/" + percentEscaped(query.country) + "/lookup";
    text += query.appStoreID != 0
                ? NSString::stringWithFormat("?id=%llu", query.appStoreID)
                : NSString::stringWithFormat("?bundleId=%@", percentEscaped(query.bundleID));
    auto url = NSURL::URLWithString(text);
    if (!url) {
        error = makeError(NSURLErrorDomain, NSURLErrorBadURL,
                          "RatePrompt cannot build a lookup URL from " + text);
        return nullptr;
    }
    auto request = NSMutableURLRequest::requestWithURLCachePolicyTimeoutInterval(
        url, NSURLRequestCachePolicy::UseProtocolCachePolicy, timeout);
    // A longer answer would be refused by the parser: it is not read past that.
    request->setMaximumBodySize(NSJSONSerialization::kMaxLength);
    return request;
}

// A member read as text: strings as they are, integers as their digits.
std::optional<std::string> textOf(const nlohmann::json& value) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_number_integer()) {
        return value.dump();
    }
    return std::nullopt;
}

// Reads the service's answer about the app.
Result resultForResponse(const Query& query, const std::shared_ptr<NSURLResponse>& response,
                         const std::optional<std::vector<uint8_t>>& data,
                         std::shared_ptr<NSError> connectionError) {
    Result result;
    auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response);
    long status = http ? http->statusCode() : 0;
    if (!data || status != 200) {
        result.error =
            status >= 400
                ? makeError(HTTPResponseErrorDomain, status,
                            NSString::stringWithFormat("The server returned a %@ error", status))
                : std::move(connectionError);
        return result;
    }
    std::shared_ptr<NSError> parseError;
    auto answer = NSJSONSerialization::JSONObjectWithData(*data, &parseError);
    if (!answer) {
        result.error = std::move(parseError);
        return result;
    }
    auto results = RatePromptStoreLookup::valueForKeyInJSON("results", *answer);
    nlohmann::json app = results.is_array() && !results.empty() ? results.back() : nlohmann::json();
    auto bundleID = textOf(RatePromptStoreLookup::valueForKeyInJSON("bundleId", app));
    if (bundleID && *bundleID == query.bundleID) {
        result.found = true;
        auto genre = RatePromptStoreLookup::valueForKeyInJSON("primaryGenreId", app);
        if (genre.is_number_unsigned()) {
            result.genreID = genre.get<uint64_t>();
        }
        if (query.appStoreID == 0) {
            result.trackID = textOf(RatePromptStoreLookup::valueForKeyInJSON("trackId", app));
            if (query.verboseLogging) {
                NSLog("RatePrompt found the app on iTunes. The App Store ID is %@",
                      result.trackID.value_or(""));
            }
        }
        result.latestVersion = textOf(RatePromptStoreLookup::valueForKeyInJSON("version", app));
        if (query.onlyPromptIfLatestVersion && !query.previewMode && result.latestVersion &&
            NSString::compareOptions(*result.latestVersion, query.applicationVersion,
                                     NSNumericSearch) == NSOrderedDescending) {
            if (query.verboseLogging) {
                NSLog("RatePrompt found that the installed application version (%@) is not the "
                      "latest version on the App Store, which is %@",
                      query.applicationVersion, *result.latestVersion);
            }
            result.error =
                makeError(RatePromptErrorDomain, RatePromptErrorApplicationIsNotLatestVersion,
                          "Installed app is not the latest version available");
        }
        result.trackName = textOf(RatePromptStoreLookup::valueForKeyInJSON("trackName", app));
    } else if (bundleID) {
        if (query.verboseLogging) {
            NSLog("RatePrompt found that the application bundle ID (%@) does not match the "
                  "bundle ID of the app found on iTunes (%@) with the specified App Store ID (%@)",
                  query.bundleID, *bundleID, query.appStoreID);
        }
        result.error =
            makeError(RatePromptErrorDomain, RatePromptErrorBundleIdDoesNotMatchAppStore,
                      "Application bundle ID does not match expected value of " + *bundleID);
    } else if (query.appStoreID == 0) {
        if (query.verboseLogging) {
            NSLog("RatePrompt could not find your app on iTunes. If your app is not yet on the "
                  "store or is not intended for App Store release then don't worry about this");
        }
    } else {
        if (query.verboseLogging) {
            NSLog("RatePrompt could not find this application on iTunes. If your app is not "
                  "intended for App Store release then you must specify a custom ratingsURL. If "
                  "this is the first release of your application then it's not a problem that "
                  "it cannot be found on the store yet");
        }
        if (!query.previewMode) {
            result.error =
                makeError(RatePromptErrorDomain, RatePromptErrorApplicationNotFoundOnAppStore,
                          "The application could not be found on the App Store.");
        }
    }
    return result;
}

// The whole lookup, blocking the calling thread until the service has answered.
Result performLookup(const std::string& baseURL, double timeout, const Query& query) {
    std::shared_ptr<NSError> error;
    auto request = requestForQuery(baseURL, timeout, query, error);
    if (!request) {
        NSLog("%@", error->localizedDescription());
        Result refused;
        refused.error = error;
        return refused;
    }
    if (query.verboseLogging) {
        NSLog("RatePrompt is checking %@ to retrieve the App Store details...", request->URL());
    }
    std::shared_ptr<NSURLResponse> response;
    auto data =
        NSURLConnection::sendSynchronousRequestReturningResponseError(request, &response, &error);
    return resultForResponse(query, response, data, std::move(error));
}

void appendUTF8(std::string& text, uint32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The UTF-16 code unit of a "\uXXXX" escape at `at`; digits that are not all hexadecimal
// give 0. Nothing when fewer than four characters follow the "\u".
std::optional<uint32_t> codeUnitAt(const std::string& text, size_t at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') {
        return std::nullopt;
    }
    uint32_t unit = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        char c = text[i];
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
        unit = unit * 16 + static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c))
                                                     ? c - '0'
                                                     : std::tolower(c) - 'a' + 10);
    }
    return unit;
}

// The character a two-character escape ("\\n") stands for; 0 when it is none of them.
char simpleEscape(char c) {
    static const std::string escaped = "\\/\"nrtfb";
    static const std::string meant = "\\/\"\n\r\t\f\b";
    size_t at = escaped.find(c);
    return at == std::string::npos ? 0 : meant[at];
}

// Decodes every escape exactly once, left to right, so that a decoded backslash never
// starts another escape ("\\n" is a backslash and an n). Unknown escapes and a "\u" with
// fewer than four characters after it stay as written.
std::string decodedEscapes(const std::string& text) {
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            decoded += text[i];
            continue;
        }
        char next = text[i + 1];
        if (char simple = simpleEscape(next)) {
            decoded += simple;
            ++i;
            continue;
        }
        auto unit = next == 'u' ? codeUnitAt(text, i) : std::nullopt;
        if (!unit) {
            decoded += text[i];
            continue;
        }
        uint32_t code = *unit;
        i += 5;
        if (code >= 0xD800 && code < 0xDC00) {
            // A high surrogate pairs with the low one that follows.
            auto low = codeUnitAt(text, i + 1);
            if (low && *low >= 0xDC00 && *low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (*low - 0xDC00);
                i += 6;
            } else {
                code = 0xFFFD;
            }
        } else if (code >= 0xDC00 && code < 0xE000) {
            code = 0xFFFD;
        }
        appendUTF8(decoded, code);
    }
    return decoded;
}

// A quoted value is complete once its last quote is not itself escaped.
bool endsWithClosingQuote(const std::string& value) {
    if (value.size() < 2 || value.back() != '"') {
        return false;
    }
    size_t backslashes = 0;
    for (size_t i = value.size() - 1; i > 0 && value[i - 1] == '\\'; --i) {
        ++backslashes;
    }
    return backslashes % 2 == 0;
}
} // namespace

bool RatePromptStoreLookup::startWithQueryCompletion(Query query, Completion completion) {
    if (inProgress_) {
        return false;
    }
    inProgress_ = true;
    std::weak_ptr<RatePromptStoreLookup> weak = weakSelf<RatePromptStoreLookup>();
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                   [weak, baseURL = baseURL_, timeout = timeoutInterval_, query = std::move(query),
                    completion = std::move(completion)] {
                       Result result = performLookup(baseURL, timeout, query);
                       // Everything the answer changes is changed on the main thread.
                       dispatch_async(
                           dispatch_get_main_queue(),
                           weakCall(weak, [result, completion](RatePromptStoreLookup& lookup) {
                               lookup.inProgress_ = false;
                               if (completion) {
                                   completion(result);
                               }
                           }));
                   });
    return true;
}

nlohmann::json RatePromptStoreLookup::valueForKeyInJSON(const std::string& key,
                                                        const nlohmann::json& json) {
    if (!json.is_object()) {
        return nullptr;
    }
    auto found = json.find(key);
    return found == json.end() ? nlohmann::json() : *found;
}

std::optional<std::string> RatePromptStoreLookup::valueForKeyInJSON(const std::string& key,
                                                                    const std::string& json) {
    const std::string quotedKey = "\"" + key + "\"";
    size_t keyAt = json.find(quotedKey);
    if (keyAt == std::string::npos) {
        return std::nullopt;
    }
    size_t colon = json.find(':', keyAt + quotedKey.size());
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    size_t comma = json.find(',', colon + 1);
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    auto valueUpTo = [&](size_t end) {
        return NSString::stringByTrimmingWhitespaceAndNewlines(
            json.substr(colon + 1, end - colon - 1));
    };
    std::string value = valueUpTo(comma);
    // A string holding commas: take the text up to the comma after its closing quote.
    if (!value.empty() && value.front() == '"') {
        while (!endsWithClosingQuote(value)) {
            comma = json.find(',', comma + 1);
            if (comma == std::string::npos) {
                break;
            }
            value = valueUpTo(comma);
        }
    }
    bool closed = endsWithClosingQuote(value);
    if (!value.empty() && value.front() == '"') {
        value.erase(0, 1);
    }
    if (closed) {
        value.pop_back();
    }
    return decodedEscapes(value);
}
