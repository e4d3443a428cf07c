// The record of one ad response as the slot reads it: the HTML to render, or the URL to
// fetch it from, the kind of response, its tracking URLs and the presentation settings
// that came with it. Made from an ad dictionary (the core page's ready ad, or one a
// request carries), or empty and filled field by field by the slot and the fetcher.
// Building never fails: values of the wrong type are ignored. Each ad keeps its own
// statistics, which tell the application when they change, so that they travel with the
// next request. Left out until their owners exist: the pings of the tracking URLs, and the
// MRAID and mediation handlers' weak references.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"
#include "platform/graphics/CGGeometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSURL;
class ZADStatisticDictionary;
class ZADAutoClickProtection;

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
    // The ad dictionary's keys, in the order they are read (see readDictionary).
    static std::shared_ptr<ZADAd> initWithDictionary(const PlistValue::Dictionary& dictionary) {
        return filledFrom<ZADAd>(dictionary);
    }

    // Tracking URLs, each kept once, in the order first added.
    const std::vector<std::shared_ptr<NSURL>>& clickURLs() const { return clickURLs_; }
    const std::vector<std::shared_ptr<NSURL>>& impressionURLs() const { return impressionURLs_; }
    const std::vector<std::shared_ptr<NSURL>>& manualImpressionURLs() const {
        return manualImpressionURLs_;
    }
    void addClickURLsFromArray(const std::vector<std::shared_ptr<NSURL>>& urls);
    void addImpressionURLsFromArray(const std::vector<std::shared_ptr<NSURL>>& urls);
    void addManualImpressionURLsFromArray(const std::vector<std::shared_ptr<NSURL>>& urls);

    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    // Its height follows its content.
    bool isFluid() const { return fluid_; }
    void setFluid(bool fluid) { fluid_ = fluid; }
    // Ad-network JavaScript, loaded by the slot's ad-network path instead of fetched.
    bool hasAdNetworkJavaScript() const { return hasAdNetworkJavaScript_; }
    const std::shared_ptr<NSURL>& adNetworkPassbackURL() const { return adNetworkPassbackURL_; }

    const std::shared_ptr<NSURL>& adURL() const { return adURL_; }
    void setAdURL(std::shared_ptr<NSURL> url) { adURL_ = std::move(url); }
    // The page's HTML, or a native answer's JSON text; empty: none.
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
    // The response's header fields (the fetcher's are lowercased).
    const PlistValue::Dictionary& responseHeaders() const { return responseHeaders_; }
    void setResponseHeaders(PlistValue::Dictionary headers) { responseHeaders_ = std::move(headers); }
    const std::optional<PlistValue::Dictionary>& activeViewConfigurations() const {
        return activeViewConfigurations_;
    }
    void setActiveViewConfigurations(std::optional<PlistValue::Dictionary> configurations) {
        activeViewConfigurations_ = std::move(configurations);
    }
    // 0: the default impression rule; 1: counted when the ad is displayed.
    int64_t impressionDefinition() const { return impressionDefinition_; }
    void setImpressionDefinition(int64_t definition) { impressionDefinition_ = definition; }
    // The swipe-to-view-controller settings, as the response gave them.
    const std::optional<PlistValue::Dictionary>& swipeToViewControllerConfigurations() const {
        return swipeToViewControllerConfigurations_;
    }
    void setSwipeToViewControllerConfigurations(std::optional<PlistValue::Dictionary> configurations) {
        swipeToViewControllerConfigurations_ = std::move(configurations);
    }
    const std::optional<std::string>& debugDialogString() const { return debugDialogString_; }
    void setDebugDialogString(std::optional<std::string> text) { debugDialogString_ = std::move(text); }
    // "320x50": the size the slot takes on.
    const std::optional<std::string>& customAdSizeString() const { return customAdSizeString_; }
    void setCustomAdSizeString(std::optional<std::string> text) {
        customAdSizeString_ = std::move(text);
    }
    const std::shared_ptr<ZADAutoClickProtection>& autoClickProtection() const {
        return autoClickProtection_;
    }
    void setAutoClickProtection(std::shared_ptr<ZADAutoClickProtection> protection) {
        autoClickProtection_ = std::move(protection);
    }
    // This ad's statistics; their delegate is the shared application.
    const std::shared_ptr<ZADStatisticDictionary>& statistics() const { return statistics_; }
    // How far a full-screen ad may be cropped before it is refused.
    double croppedContentThreshold() const { return croppedContentThreshold_; }
    void setCroppedContentThreshold(double threshold) { croppedContentThreshold_ = threshold; }

protected:
    ZADAd();
    virtual void readDictionary(const PlistValue::Dictionary& dictionary);
    // A new record of that kind filled from the dictionary.
    template <class Ad> static std::shared_ptr<Ad> filledFrom(const PlistValue::Dictionary& dictionary) {
        auto ad = Ad::init();
        static_cast<ZADAd&>(*ad).readDictionary(dictionary);
        return ad;
    }

private:
    std::shared_ptr<ZADStatisticDictionary> statistics_;
    std::vector<std::shared_ptr<NSURL>> clickURLs_;
    std::vector<std::shared_ptr<NSURL>> impressionURLs_;
    std::vector<std::shared_ptr<NSURL>> manualImpressionURLs_;
    bool scrollEnabled_ = true;
    bool fluid_ = false;
    bool hasAdNetworkJavaScript_ = false;
    std::shared_ptr<NSURL> adBaseURL_;
    std::string adHTML_;
    std::shared_ptr<NSURL> adURL_;
    PlistValue::Dictionary responseHeaders_;
    std::optional<PlistValue::Dictionary> activeViewConfigurations_;
    int64_t impressionDefinition_ = 0;
    std::optional<PlistValue::Dictionary> swipeToViewControllerConfigurations_;
    uint64_t responseType_ = Failure;
    double reloadInterval_ = 0;
    uint64_t supportedOrientations_ = kAllOrientations;
    std::optional<std::string> debugDialogString_;
    std::optional<std::string> customAdSizeString_;
    std::shared_ptr<ZADAutoClickProtection> autoClickProtection_;
    double croppedContentThreshold_ = 10000.0;
    std::shared_ptr<NSURL> adNetworkPassbackURL_;
    CGSize size_{};
};
