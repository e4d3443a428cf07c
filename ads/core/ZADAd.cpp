#include "ads/core/ZADAd.h"

#include "ads/core/NSDictionary+ZADJSONAdditions.h"
#include "ads/core/NSDictionary+ZADObjectValidation.h"
#include "ads/core/ZADAdSize.h"
#include "ads/core/ZADAutoClickProtection.h"
#include "ads/core/ZADOrientationMaskFromString.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADStatisticDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"

#include <algorithm>

namespace {
using Dictionary = PlistValue::Dictionary;

const PlistValue* valueFor(const Dictionary& dictionary, const char* key) {
    const auto found = dictionary.find(key);
    return found == dictionary.end() ? nullptr : &found->second;
}

std::string textFor(const Dictionary& dictionary, const char* key) {
    const auto* value = valueFor(dictionary, key);
    return value && value->string() ? *value->string() : std::string();
}

bool isNumber(const PlistValue& value) {
    return value.type() == PlistValue::Type::Integer || value.type() == PlistValue::Type::Real ||
           value.type() == PlistValue::Type::Boolean;
}

// What a number, a bool or a text says as a bool; nothing for other kinds.
std::optional<bool> boolFor(const Dictionary& dictionary, const char* key) {
    const auto* value = valueFor(dictionary, key);
    if (!value) {
        return std::nullopt;
    }
    if (value->string()) {
        return NSString::boolValue(*value->string());
    }
    if (isNumber(*value)) {
        return value->boolValue();
    }
    return std::nullopt;
}

// A number, or a text read as one; nothing for other kinds.
std::optional<double> doubleFor(const Dictionary& dictionary, const char* key) {
    const auto* value = valueFor(dictionary, key);
    if (value && value->string()) {
        return NSString::doubleValue(*value->string());
    }
    if (value && isNumber(*value)) {
        return value->doubleValue();
    }
    return std::nullopt;
}

// The URLs of an array's texts; other entries are skipped.
std::vector<std::shared_ptr<NSURL>> urlsFor(const Dictionary& dictionary, const char* key) {
    std::vector<std::shared_ptr<NSURL>> urls;
    const auto* value = valueFor(dictionary, key);
    if (!value || !value->array()) {
        return urls;
    }
    for (const auto& text : ZADObjectValidation::zad_stringsOf(*value->array())) {
        if (auto url = NSURL::URLWithString(text)) {
            urls.push_back(std::move(url));
        }
    }
    return urls;
}

// Adds each URL not already kept, as a set would.
void addOnce(std::vector<std::shared_ptr<NSURL>>& kept,
             const std::vector<std::shared_ptr<NSURL>>& urls) {
    for (const auto& url : urls) {
        if (url && std::none_of(kept.begin(), kept.end(), [&](const auto& old) {
                return old->absoluteString() == url->absoluteString();
            })) {
            kept.push_back(url);
        }
    }
}
} // namespace

ZADAd::ZADAd()
    : statistics_(ZADStatisticDictionary::initWithDelegate(ZADApplication::sharedInstance())) {}

void ZADAd::addClickURLsFromArray(const std::vector<std::shared_ptr<NSURL>>& urls) {
    addOnce(clickURLs_, urls);
}

void ZADAd::addImpressionURLsFromArray(const std::vector<std::shared_ptr<NSURL>>& urls) {
    addOnce(impressionURLs_, urls);
}

void ZADAd::addManualImpressionURLsFromArray(const std::vector<std::shared_ptr<NSURL>>& urls) {
    addOnce(manualImpressionURLs_, urls);
}

void ZADAd::readDictionary(const Dictionary& dictionary) {
    const std::string html = textFor(dictionary, "ad_html");
    auto baseURL = NSURL::URLWithString(textFor(dictionary, "ad_base_url"));
    if (!html.empty() && baseURL) {
        adHTML_ = html;
        adBaseURL_ = std::move(baseURL);
    } else {
        adURL_ = NSURL::URLWithString(textFor(dictionary, "ad_url"));
    }
    if (const auto* json = valueFor(dictionary, "ad_json"); json && json->dictionary() && adHTML_.empty()) {
        auto text = ZADJSONAdditions::zad_JSONStringPretty(*json->dictionary(), false);
        if (!text.hasError()) {
            adHTML_ = std::move(text).value();
        }
    }
    if (const auto* adSize = valueFor(dictionary, "ad_size"); adSize && adSize->string()) {
        size_ = ZADAdSizeFromString(*adSize->string());
    }
    if (const uint64_t mask = ZADOrientationMaskFromString(textFor(dictionary, "orientation"))) {
        supportedOrientations_ = mask;
    }
    if (const auto* javaScript = valueFor(dictionary, "ad_is_javascript"); javaScript && isNumber(*javaScript)) {
        hasAdNetworkJavaScript_ = javaScript->boolValue();
    }
    if (hasAdNetworkJavaScript_) {
        adNetworkPassbackURL_ = NSURL::URLWithString(textFor(dictionary, "ad_passback_url"));
    }
    if (const auto* dialog = valueFor(dictionary, "debug_dialog"); dialog && dialog->string()) {
        debugDialogString_ = *dialog->string();
    }
    if (const auto* activeView = valueFor(dictionary, "active_view"); activeView && activeView->dictionary()) {
        activeViewConfigurations_ = *activeView->dictionary();
    }
    if (boolFor(dictionary, "use_displayed_impression").value_or(false)) {
        impressionDefinition_ = 1;
    }
    if (const auto* swipe = valueFor(dictionary, "swipe_to_viewcontroller");
        swipe && swipe->dictionary() && !swipe->dictionary()->empty()) {
        swipeToViewControllerConfigurations_ = *swipe->dictionary();
    }
    addClickURLsFromArray(urlsFor(dictionary, "click_urls"));
    addImpressionURLsFromArray(urlsFor(dictionary, "impression_urls"));
    addManualImpressionURLsFromArray(urlsFor(dictionary, "manual_impression_urls"));
    if (const auto* protection = valueFor(dictionary, "auto_protection_configuration");
        protection && protection->dictionary()) {
        autoClickProtection_ = ZADAutoClickProtection::initWithDictionary(*protection->dictionary());
    } else {
        autoClickProtection_ = ZADAutoClickProtection::initWithAutoClickProtectionEnabled(
            boolFor(dictionary, "_native_sdk_auto_protection").value_or(false));
    }
    const auto width = doubleFor(dictionary, "_native_interstitial_size_width");
    const auto height = doubleFor(dictionary, "_native_interstitial_size_height");
    if (width && height) {
        size_ = CGSize{*width, *height};
    }
    if (const auto threshold = doubleFor(dictionary, "_native_cropped_content_threshold")) {
        croppedContentThreshold_ = *threshold;
    }
}
