#include "platform/foundation/NSHTTPURLResponse.h"

#include "platform/foundation/NSString.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <strings.h>
#include <vector>

namespace {

std::string trimmed(const std::string& text) {
    return NSString::stringByTrimmingWhitespaceAndNewlines(text);
}

// "text/HTML; charset=\"UTF-8\"" -> "text/html" and "UTF-8".
void parseContentType(const std::string& value, std::string* mimeType, std::string* charset) {
    std::vector<std::string> parts = NSString::componentsSeparatedByString(value, ";");
    *mimeType = trimmed(parts.front());
    std::transform(mimeType->begin(), mimeType->end(), mimeType->begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (size_t i = 1; i < parts.size(); ++i) {
        size_t equals = parts[i].find('=');
        if (equals == std::string::npos ||
            strcasecmp(trimmed(parts[i].substr(0, equals)).c_str(), "charset") != 0) {
            continue;
        }
        *charset = trimmed(parts[i].substr(equals + 1));
        if (charset->size() >= 2 && charset->front() == '"' && charset->back() == '"') {
            *charset = charset->substr(1, charset->size() - 2);
        }
    }
}

long long parseContentLength(const std::string& value) {
    std::string digits = trimmed(value);
    long long length = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), length);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() ||
        length < 0) {
        return NSURLResponseUnknownLength;
    }
    return length;
}

} // namespace

std::shared_ptr<NSHTTPURLResponse>
NSHTTPURLResponse::initWithURLStatusCodeHTTPVersionHeaderFields(std::shared_ptr<NSURL> url,
                                                                long statusCode, const std::string&,
                                                                NSHTTPHeaderFields headerFields) {
    std::string mimeType;
    std::string charset;
    if (auto type = headerFields.find("Content-Type"); type != headerFields.end()) {
        parseContentType(type->second, &mimeType, &charset);
    }
    long long length = NSURLResponseUnknownLength;
    if (auto found = headerFields.find("Content-Length"); found != headerFields.end()) {
        length = parseContentLength(found->second);
    }
    return std::shared_ptr<NSHTTPURLResponse>(
        new NSHTTPURLResponse(std::move(url), statusCode, std::move(mimeType), length,
                              std::move(charset), std::move(headerFields)));
}

std::optional<std::string>
NSHTTPURLResponse::valueForHTTPHeaderField(const std::string& field) const {
    auto found = headerFields_.find(field);
    if (found == headerFields_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string NSHTTPURLResponse::localizedStringForStatusCode(long statusCode) {
    static const std::map<long, const char*> phrases = {
        {100, "continue"},
        {101, "switching protocols"},
        {200, "no error"},
        {201, "created"},
        {202, "accepted"},
        {203, "non-authoritative information"},
        {204, "no content"},
        {205, "reset content"},
        {206, "partial content"},
        {300, "multiple choices"},
        {301, "moved permanently"},
        {302, "found"},
        {303, "see other"},
        {304, "not modified"},
        {305, "needs proxy"},
        {307, "redirected"},
        {400, "bad request"},
        {401, "unauthorized"},
        {402, "payment required"},
        {403, "forbidden"},
        {404, "not found"},
        {405, "method not allowed"},
        {406, "unacceptable"},
        {407, "proxy authentication required"},
        {408, "request timed out"},
        {409, "conflict"},
        {410, "no longer exists"},
        {411, "length required"},
        {412, "precondition failed"},
        {413, "request too large"},
        {414, "requested URL too long"},
        {415, "unsupported media type"},
        {416, "requested range not satisfiable"},
        {417, "expectation failed"},
        {500, "internal server error"},
        {501, "unimplemented"},
        {502, "bad gateway"},
        {503, "service unavailable"},
        {504, "gateway timed out"},
        {505, "unsupported version"},
    };
    if (auto found = phrases.find(statusCode); found != phrases.end()) {
        return found->second;
    }
    switch (statusCode / 100) {
    case 1:
        return "informational";
    case 2:
        return "success";
    case 3:
        return "redirected";
    case 4:
        return "client error";
    default:
        return "server error";
    }
}
