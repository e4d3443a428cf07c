// The record of one ad response as the slot reads it: the HTML to render, or the URL to
// fetch it from, the kind of response, and the settings that came with it. From an ad
// dictionary it takes the HTML with its base URL, else the ad URL; the other keys,
// response headers, tracking URLs, statistics and the active-view, swipe and
// click-protection settings come with the full record.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"
#include "platform/graphics/CGGeometry.h"

#include <cstdint>
#include <memory>
#include <string>

class NSURL;

class ZADAd : public NSObject {
    NS_OBJECT(ZADAd)
public:
    // What the fetch found (0 until it classified the response).
    enum ResponseType : uint64_t {
        Failure = 0,
        HTML = 1,
        Mediation = 2,
        Native = 3,
        CustomRendering = 4,
    };
    // Interface-orientation masks.
    static constexpr uint64_t kAllOrientations = 30;

    static std::shared_ptr<ZADAd> init() { return make<ZADAd>(); }
    // "ad_html" with a parsable "ad_base_url", else "ad_url" (values of another type are
    // ignored).
    static std::shared_ptr<ZADAd> initWithDictionary(const PlistValue::Dictionary& dictionary) {
        return filledFrom<ZADAd>(dictionary);
    }

    const std::shared_ptr<NSURL>& adURL() const { return adURL_; }
    void setAdURL(std::shared_ptr<NSURL> url) { adURL_ = std::move(url); }
    const std::string& adHTML() const { return adHTML_; }
    void setAdHTML(std::string html) { adHTML_ = std::move(html); }
    const std::shared_ptr<NSURL>& adBaseURL() const { return adBaseURL_; }
    void setAdBaseURL(std::shared_ptr<NSURL> url) { adBaseURL_ = std::move(url); }
    uint64_t responseType() const { return responseType_; }
    void setResponseType(uint64_t type) { responseType_ = type; }
    // Seconds until the slot loads again after showing this ad; 0: no reloading.
    double reloadInterval() const { return reloadInterval_; }
    void setReloadInterval(double seconds) { reloadInterval_ = seconds; }
    uint64_t supportedOrientations() const { return supportedOrientations_; }
    void setSupportedOrientations(uint64_t mask) { supportedOrientations_ = mask; }
    CGSize size() const { return size_; }
    void setSize(CGSize size) { size_ = size; }
    // The response's header fields, names as received.
    const PlistValue::Dictionary& responseHeaders() const { return responseHeaders_; }
    void setResponseHeaders(PlistValue::Dictionary headers) { responseHeaders_ = std::move(headers); }

protected:
    ZADAd() = default;
    virtual void readDictionary(const PlistValue::Dictionary& dictionary);
    // A new record of that kind filled from the dictionary.
    template <class Ad> static std::shared_ptr<Ad> filledFrom(const PlistValue::Dictionary& dictionary) {
        auto ad = Ad::init();
        static_cast<ZADAd&>(*ad).readDictionary(dictionary);
        return ad;
    }

private:
    std::shared_ptr<NSURL> adURL_;
    std::string adHTML_;
    std::shared_ptr<NSURL> adBaseURL_;
    uint64_t responseType_ = Failure;
    double reloadInterval_ = 0;
    uint64_t supportedOrientations_ = kAllOrientations;
    CGSize size_{};
    PlistValue::Dictionary responseHeaders_;
};
