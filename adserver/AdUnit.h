// One ad unit of the inventory: how the server answers an ad request whose "slotname" names
// it, so that a test or a scenario picks a behaviour by the unit it loads. What the core page
// answers for the unit (an ad URL, an error, a ready ad, nothing) and what the ad URL then
// answers (status, headers, body, redirects, delay).
#pragma once

#include "platform/foundation/ErrorOr.h"

#include <nlohmann/json.hpp>

#include <map>
#include <optional>
#include <string>

class AdUnit {
public:
    // The longest delay a unit may ask for: a slow answer, never a hung connection.
    static constexpr int kMaxDelayMilliseconds = 60000;
    static constexpr int kMaxRedirects = 10;

    // Reads the unit's manifest entry; the error says which field is wrong and why.
    static ErrorOr<AdUnit> fromJSON(const std::string& name, const nlohmann::json& entry);

    const std::string& name() const { return name_; }
    // The core page's answer, as the page reads it: {"answer": "url" | "errors" |
    // "fetched_ad" | "invalid" | "none", ...}.
    const nlohmann::json& pageAnswer() const { return pageAnswer_; }
    int status() const { return status_; }
    // Header values may hold "{base}", the server's own scheme://host:port.
    const std::map<std::string, std::string>& headers() const { return headers_; }
    const std::string& contentType() const { return contentType_; }
    // A file of the inventory folder; "" for an empty body; none: the creative chosen by
    // the request's size keys.
    const std::optional<std::string>& bodyFile() const { return bodyFile_; }
    int redirects() const { return redirects_; }
    int delayMilliseconds() const { return delayMilliseconds_; }
    // Half the body is sent, then the connection is closed.
    bool brokenOff() const { return brokenOff_; }

private:
    AdUnit() = default;

    std::string name_;
    nlohmann::json pageAnswer_;
    int status_ = 200;
    std::map<std::string, std::string> headers_;
    std::string contentType_ = "text/html; charset=utf-8";
    std::optional<std::string> bodyFile_;
    int redirects_ = 0;
    int delayMilliseconds_ = 0;
    bool brokenOff_ = false;
};
