// The ad record made from an ad dictionary: which keys win, what a wrong type leaves, and
// the defaults of a fresh record.
#include "ads/core/ZADAd.h"
#include "ads/core/ZADAutoClickProtection.h"
#include "ads/core/ZADBannerAd.h"
#include "platform/foundation/NSURL.h"
#include "tests/support/TaskEnvironment.h"

#include <gmock/gmock.h>

namespace {
using Dictionary = PlistValue::Dictionary;
using Array = PlistValue::Array;

std::string urlText(const std::shared_ptr<NSURL>& url) { return url ? url->absoluteString() : "(none)"; }

TEST(ZADAdTest, AFreshRecordHasTheDefaults) {
    TaskEnvironment environment;
    auto ad = ZADAd::init();
    EXPECT_TRUE(ad->isScrollEnabled());
    EXPECT_FALSE(ad->isFluid());
    EXPECT_EQ(ad->supportedOrientations(), 30u);
    EXPECT_EQ(ad->croppedContentThreshold(), 10000.0);
    EXPECT_EQ(ad->impressionDefinition(), 0);
    EXPECT_EQ(ad->responseType(), ZADAd::Failure);
    EXPECT_FALSE(ad->autoClickProtection());
}

TEST(ZADAdTest, TheHTMLWithItsBaseWinsOverTheAdURLAndTheJSON) {
    TaskEnvironment environment;
    const struct {
        const char* name;
        Dictionary dictionary;
        std::string html;
        std::string baseURL;
        std::string adURL;
    } cases[] = {
        {"html and base",
         {{"ad_html", "<p>a</p>"}, {"ad_base_url", "https://b.test/"}, {"ad_url", "https://u.test/"},
          {"ad_json", Dictionary{{"k", 1}}}},
         "<p>a</p>", "https://b.test/", "(none)"},
        {"empty html", {{"ad_html", ""}, {"ad_base_url", "https://b.test/"}, {"ad_url", "https://u.test/"}},
         "", "(none)", "https://u.test/"},
        {"no base", {{"ad_html", "<p>a</p>"}, {"ad_url", "https://u.test/"}}, "", "(none)",
         "https://u.test/"},
        {"json without html", {{"ad_url", "https://u.test/"}, {"ad_json", Dictionary{{"k", 1}}}},
         "{\"k\":1}", "(none)", "https://u.test/"},
        {"json of a wrong type", {{"ad_json", "{\"k\":1}"}}, "", "(none)", "(none)"},
        {"unparsable ad URL", {{"ad_url", "not a url"}}, "", "(none)", "(none)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto ad = ZADAd::initWithDictionary(c.dictionary);
        EXPECT_EQ(ad->adHTML(), c.html);
        EXPECT_EQ(urlText(ad->adBaseURL()), c.baseURL);
        EXPECT_EQ(urlText(ad->adURL()), c.adURL);
    }
}

TEST(ZADAdTest, SizesOrientationsAndNativeOverridesReadAsTheyShould) {
    TaskEnvironment environment;
    const struct {
        const char* name;
        Dictionary dictionary;
        CGSize size;
        uint64_t orientations;
        double threshold;
    } cases[] = {
        {"a size", {{"ad_size", "320x50"}, {"orientation", "landscape"}}, {320, 50}, 24, 10000},
        {"no x", {{"ad_size", "320"}, {"orientation", "upright"}}, {0, 0}, 30, 10000},
        {"letters", {{"ad_size", "wxh"}}, {0, 0}, 30, 10000},
        {"no height", {{"ad_size", "320x"}}, {0, 0}, 30, 10000},
        {"both native sides win",
         {{"ad_size", "320x50"}, {"_native_interstitial_size_width", 300},
          {"_native_interstitial_size_height", "250"}, {"_native_cropped_content_threshold", "12.5"}},
         {300, 250}, 30, 12.5},
        {"one native side alone",
         {{"ad_size", "320x50"}, {"_native_interstitial_size_width", 300}}, {320, 50}, 30, 10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto ad = ZADAd::initWithDictionary(c.dictionary);
        EXPECT_EQ(ad->size().width, c.size.width);
        EXPECT_EQ(ad->size().height, c.size.height);
        EXPECT_EQ(ad->supportedOrientations(), c.orientations);
        EXPECT_EQ(ad->croppedContentThreshold(), c.threshold);
    }
}

TEST(ZADAdTest, TrackingURLsAreKeptOnceAndOtherEntriesSkipped) {
    TaskEnvironment environment;
    auto ad = ZADAd::initWithDictionary({
        {"click_urls", Array{"https://c.test/1", 7, "https://c.test/1", "not a url", "https://c.test/2"}},
        {"impression_urls", "https://i.test/"}, // not an array
        {"manual_impression_urls", Array{"https://m.test/"}},
    });
    std::vector<std::string> clicks;
    for (const auto& url : ad->clickURLs()) {
        clicks.push_back(url->absoluteString());
    }
    EXPECT_THAT(clicks, ::testing::ElementsAre("https://c.test/1", "https://c.test/2"));
    EXPECT_TRUE(ad->impressionURLs().empty());
    EXPECT_EQ(ad->manualImpressionURLs().size(), 1u);
}

TEST(ZADAdTest, ClickProtectionJavaScriptAndPresentationKeys) {
    TaskEnvironment environment;
    auto plain = ZADAd::initWithDictionary({});
    ASSERT_TRUE(plain->autoClickProtection()); // always one, switched off
    EXPECT_FALSE(plain->autoClickProtection()->enabled());

    auto configured = ZADAd::initWithDictionary({
        {"auto_protection_configuration", Dictionary{{"enable_protection", true}}},
        {"_native_sdk_auto_protection", false},
        {"ad_passback_url", "https://p.test/"},
        {"debug_dialog", "dialog"},
        {"active_view", Dictionary{{"enabled", true}}},
        {"use_displayed_impression", "YES"},
        {"swipe_to_viewcontroller", Dictionary{}},
    });
    EXPECT_TRUE(configured->autoClickProtection()->enabled());
    EXPECT_FALSE(configured->adNetworkPassbackURL()); // not JavaScript
    EXPECT_EQ(configured->debugDialogString(), "dialog");
    EXPECT_TRUE(configured->activeViewConfigurations());
    EXPECT_EQ(configured->impressionDefinition(), 1);
    EXPECT_FALSE(configured->swipeToViewControllerConfigurations()); // no entries

    auto javaScript = ZADAd::initWithDictionary({{"ad_is_javascript", 1},
                                                 {"ad_passback_url", "https://p.test/"},
                                                 {"_native_sdk_auto_protection", "true"}});
    EXPECT_TRUE(javaScript->hasAdNetworkJavaScript());
    EXPECT_EQ(urlText(javaScript->adNetworkPassbackURL()), "https://p.test/");
    EXPECT_TRUE(javaScript->autoClickProtection()->enabled());

    auto banner = ZADBannerAd::initWithDictionary({{"refresh_rate", 45}});
    EXPECT_EQ(banner->reloadInterval(), 45);
}
} // namespace
