#include "ads/core/NSURL+ZADNSURLUtilities.h"

#include "ads/core/NSString+ZADURLEncoding.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"

#include <algorithm>

namespace ZADNSURLUtilities {

namespace {

// The pieces of `text` between separators, empty ones included.
std::vector<std::string> split(const std::string& text, std::string_view separators) {
    std::vector<std::string> pieces;
    size_t begin = 0;
    while (true) {
        size_t end = text.find_first_of(separators, begin);
        pieces.push_back(text.substr(begin, end - begin));
        if (end == std::string::npos) {
            return pieces;
        }
        begin = end + 1;
    }
}

// A query piece's name and value, when it is exactly those two around one "=".
std::optional<std::pair<std::string, std::string>> nameAndValue(const std::string& piece) {
    size_t equals = piece.find('=');
    if (equals == std::string::npos || piece.find('=', equals + 1) != std::string::npos) {
        return std::nullopt;
    }
    return std::pair(piece.substr(0, equals), piece.substr(equals + 1));
}

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

bool isEqual(const std::string& a, const std::string& b, bool caseSensitive) {
    return caseSensitive ? a == b : lowercased(a) == lowercased(b);
}

} // namespace

std::shared_ptr<NSURL> zad_URLByAppendingQueryParameters(const NSURL& url,
                                                         const PlistValue::Dictionary& parameters) {
    std::string text = url.absoluteString();
    std::string separator = url.query().empty() ? "?" : "&";
    std::string landing;
    if (size_t adurl = text.find("&adurl="); adurl != std::string::npos) {
        landing = text.substr(adurl);
        text.erase(adurl);
    }
    for (const auto& [name, value] : parameters) {
        text += separator + name;
        std::string escaped =
            ZADURLEncoding::zad_stringByEscapingAsURLParameter(value.description());
        if (!escaped.empty()) {
            text += "=" + escaped;
        }
        separator = "&";
    }
    return NSURL::URLWithString(text + landing);
}

std::optional<std::vector<std::string>> zad_parameterValuesForKey(const NSURL& url,
                                                                  const std::string& name) {
    std::vector<std::string> values;
    for (const auto& piece : split(url.query(), "&")) {
        auto pair = nameAndValue(piece);
        if (!pair || pair->first != name) {
            continue;
        }
        if (auto decoded = NSString::stringByRemovingPercentEncoding(pair->second)) {
            values.push_back(std::move(*decoded));
        }
    }
    if (values.empty()) {
        return std::nullopt;
    }
    return values;
}

std::optional<std::string> zad_parameterValueForKey(const NSURL& url, const std::string& name) {
    auto values = zad_parameterValuesForKey(url, name);
    if (!values) {
        return std::nullopt;
    }
    return values->front();
}

std::map<std::string, std::string>
zad_dictionaryFromQueryParametersAndConvertKeysToLowercase(const NSURL& url, bool lowercase) {
    std::map<std::string, std::string> parameters;
    if (url.query().empty()) {
        return parameters;
    }
    for (const auto& piece : split(url.query(), "&;")) {
        auto pair = nameAndValue(piece);
        if (!pair) {
            continue;
        }
        auto name = NSString::stringByRemovingPercentEncoding(pair->first);
        auto value = NSString::stringByRemovingPercentEncoding(pair->second);
        if (name && value) {
            parameters[lowercase ? lowercased(*name) : *name] = std::move(*value);
        }
    }
    return parameters;
}

std::optional<std::string> zad_impressionTicket(const NSURL& url) {
    // "/a/b/c/d" splits into "", "a", "b", "c", "d": the segments follow the first piece.
    auto pieces = split(url.path(), "/");
    if (pieces.size() < 4) {
        return std::nullopt;
    }
    return pieces[2] + "/" + pieces[3];
}

std::string zad_absoluteStringWithoutFragmentComponent(const NSURL& url) {
    const std::string& text = url.absoluteString();
    return text.substr(0, text.find('#'));
}

bool zad_isHostEqualToStringCaseSensitive(const NSURL& url, const std::string& host,
                                          bool caseSensitive) {
    return !url.host().empty() && isEqual(url.host(), host, caseSensitive);
}

bool zad_isSchemeEqualToStringCaseSensitive(const NSURL& url, const std::string& scheme,
                                            bool caseSensitive) {
    return !url.scheme().empty() && isEqual(url.scheme(), scheme, caseSensitive);
}

} // namespace ZADNSURLUtilities
