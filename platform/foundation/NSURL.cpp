#include "platform/foundation/NSURL.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <netinet/in.h>

#include <curl/curl.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <strings.h>

namespace {

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int hexValue(char c) {
    return std::isdigit(static_cast<unsigned char>(c))
               ? c - '0'
               : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

// What a path segment may hold unescaped (RFC 3986 pchar), and the slash between segments.
bool isPathCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           (c != '\0' && std::strchr("-._~!$&'()*+,;=:@/", c) != nullptr);
}

// Every character is one RFC 3986 allows, every "%" starts an escape, there is at most
// one "#", and brackets (around IPv6 hosts) appear only in the authority.
bool hasValidCharacters(const std::string& text, size_t authorityEnd) {
    bool seenFragment = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2])) {
                return false;
            }
            i += 2;
        } else if (c == '#') {
            if (seenFragment) {
                return false;
            }
            seenFragment = true;
        } else if (c == '[' || c == ']') {
            if (i >= authorityEnd) {
                return false;
            }
        } else if (c != '?' && !isPathCharacter(c)) {
            return false;
        }
    }
    return true;
}

std::string percentDecode(const std::string& text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            decoded += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::string percentEncodePath(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (char c : path) {
        if (isPathCharacter(c)) {
            encoded += c;
        } else {
            auto byte = static_cast<unsigned char>(c);
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 15];
        }
    }
    return encoded;
}

// Host and port of the URL's authority as curl's URL parser reads them; false when the
// parser rejects the URL (a bad host name, a port out of range ...).
bool parseAuthority(const std::string& text, std::string* host, std::optional<int>* port) {
    CURLU* url = curl_url();
    if (!url) {
        return false;
    }
    bool parsed = curl_url_set(url, CURLUPART_URL, text.c_str(),
                               CURLU_NON_SUPPORT_SCHEME | CURLU_PATH_AS_IS) == CURLUE_OK;
    char* part = nullptr;
    if (parsed && curl_url_get(url, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
        *host = part;
        curl_free(part);
        if (host->size() > 1 && host->front() == '[' && host->back() == ']') {
            *host = host->substr(1, host->size() - 2);
        }
    }
    if (parsed && curl_url_get(url, CURLUPART_PORT, &part, 0) == CURLUE_OK) {
        *port = std::atoi(part);
        curl_free(part);
    }
    curl_url_cleanup(url);
    return parsed;
}

} // namespace

std::shared_ptr<NSURL> NSURL::URLWithString(const std::string& text) {
    // scheme = ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ), then ":".
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 ||
        !std::isalpha(static_cast<unsigned char>(text[0]))) {
        return nullptr;
    }
    for (size_t i = 1; i < colon; ++i) {
        char c = text[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') {
            return nullptr;
        }
    }

    auto url = make<NSURL>();
    url->string_ = text;
    url->scheme_ = text.substr(0, colon);
    size_t end = text.size();
    if (size_t hash = text.find('#', colon); hash != std::string::npos) {
        url->fragment_ = text.substr(hash + 1);
        end = hash;
    }
    if (size_t question = text.find('?', colon); question < end) {
        url->query_ = text.substr(question + 1, end - question - 1);
        end = question;
    }
    size_t authorityBegin = colon + 1;
    size_t authorityEnd = authorityBegin;
    if (text.compare(authorityBegin, 2, "//") == 0) {
        authorityBegin += 2;
        authorityEnd = std::min(text.find('/', authorityBegin), end);
    }
    url->pathBegin_ = authorityEnd;
    url->pathEnd_ = end;

    if (!hasValidCharacters(text, authorityEnd)) {
        return nullptr;
    }
    if (authorityEnd > authorityBegin && !parseAuthority(text, &url->host_, &url->port_)) {
        return nullptr;
    }
    return url;
}

std::shared_ptr<NSURL> NSURL::fileURLWithPath(const std::string& path) {
    if (path.empty()) {
        return nullptr;
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return nullptr;
    }
    std::string text = absolute.string();
    if (text.back() != '/' && std::filesystem::is_directory(absolute, error)) {
        text += '/';
    }
    return URLWithString("file://" + percentEncodePath(text));
}

std::shared_ptr<NSURL> NSURL::URLWithStringRelativeToURL(const std::string& text,
                                                         const std::shared_ptr<NSURL>& base) {
    if (!base) {
        return URLWithString(text);
    }
    CURLU* url = curl_url();
    if (!url) {
        return nullptr;
    }
    std::shared_ptr<NSURL> resolved;
    char* joined = nullptr;
    // Setting a second URL on a handle that holds one resolves it against the first.
    if (curl_url_set(url, CURLUPART_URL, base->absoluteString().c_str(),
                     CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
        curl_url_set(url, CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
        curl_url_get(url, CURLUPART_URL, &joined, 0) == CURLUE_OK) {
        resolved = URLWithString(joined);
        curl_free(joined);
    }
    curl_url_cleanup(url);
    return resolved;
}

std::string NSURL::path() const {
    std::string path = percentDecode(string_.substr(pathBegin_, pathEnd_ - pathBegin_));
    if (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

bool NSURL::isFileURL() const {
    return strcasecmp(scheme_.c_str(), "file") == 0;
}

std::shared_ptr<NSURL> NSURL::URLByAppendingPathComponent(const std::string& component) const {
    std::string text = string_.substr(0, pathEnd_);
    if (pathEnd_ == pathBegin_ || text.back() != '/') {
        text += '/';
    }
    text += percentEncodePath(component);
    text += string_.substr(pathEnd_);
    return URLWithString(text);
}

bool NSURL::isLoopbackHost() const {
    std::string host = host_;
    std::transform(host.begin(), host.end(), host.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (host == "localhost") {
        return true;
    }
    in_addr v4{};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    return inet_pton(AF_INET6, host.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}
