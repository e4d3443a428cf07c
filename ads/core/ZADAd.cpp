#include "ads/core/ZADAd.h"

#include "platform/foundation/NSURL.h"

void ZADAd::readDictionary(const PlistValue::Dictionary& dictionary) {
    const auto text = [&](const char* key) -> std::string {
        const auto found = dictionary.find(key);
        return found != dictionary.end() && found->second.string() ? *found->second.string()
                                                                    : std::string();
    };
    const std::string html = text("ad_html");
    auto baseURL = NSURL::URLWithString(text("ad_base_url"));
    if (!html.empty() && baseURL) {
        adHTML_ = html;
        adBaseURL_ = std::move(baseURL);
    } else {
        adURL_ = NSURL::URLWithString(text("ad_url"));
    }
}
