// A URL: the text as given, checked against RFC 3986, and its parts. File URLs are made
// from paths.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <optional>
#include <string>

class NSURL : public NSObject {
    NS_OBJECT(NSURL)
public:
    // Null for text that is not an absolute URL: no scheme, characters RFC 3986 does not
    // allow (spaces, control characters, non-ASCII), bad percent escapes, a malformed
    // host or port.
    static std::shared_ptr<NSURL> URLWithString(const std::string& text);
    // A file URL for a path, relative ones taken from the working folder; a folder that
    // exists gets a trailing slash. Null for an empty path.
    static std::shared_ptr<NSURL> fileURLWithPath(const std::string& path);
    // The absolute URL that text (absolute, or relative as a Location header may be)
    // names from `base` (RFC 3986 resolution); null when the result is no URL. Unlike the
    // platform's, the URL made keeps no link to its base.
    static std::shared_ptr<NSURL> URLWithStringRelativeToURL(const std::string& text,
                                                             const std::shared_ptr<NSURL>& base);

    const std::string& absoluteString() const { return string_; }
    // As written.
    const std::string& scheme() const { return scheme_; }
    // Empty when the URL has none; IPv6 addresses without their brackets.
    const std::string& host() const { return host_; }
    // Whether the host is this machine's loopback (127.0.0.0/8, localhost, ::1).
    bool isLoopbackHost() const;
    std::optional<int> port() const { return port_; }
    // Percent escapes decoded, without a trailing slash (except for "/" itself).
    std::string path() const;
    // Without the leading "?" / "#", escapes kept; empty when absent.
    const std::string& query() const { return query_; }
    const std::string& fragment() const { return fragment_; }
    bool isFileURL() const;

    // The URL with `component` added to its path after a slash, characters a path may
    // not hold percent-escaped; query and fragment stay.
    std::shared_ptr<NSURL> URLByAppendingPathComponent(const std::string& component) const;

    std::string description() const override { return string_; }

private:
    NSURL() = default;

    std::string string_;
    std::string scheme_;
    std::string host_;
    std::optional<int> port_;
    // Where the (still escaped) path lies in string_.
    size_t pathBegin_ = 0;
    size_t pathEnd_ = 0;
    std::string query_;
    std::string fragment_;
};
