#include "ads/core/ZADAdURLStash.h"

#include "ads/render/ZADAdView.h"
#include "ads/render/ZADMRAIDInterceptor.h"
#include "platform/foundation/NSURL.h"
#include "platform/uikit/UIView.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/webkit/FakeWebViewEngine.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<NSURL> url(const std::string& text) {
    return NSURL::URLWithString(text);
}

TEST(ZADAdURLStashTest, SpellingsOfOnePageFindOneView) {
    auto view = UIView::initWithFrame(CGRectZero);
    ZADAdURLStash::addForView(url("https://ads.test/page?x=1"), view);
    for (const char* spelling : {"https://ads.test/page?x=1", "https://ads.test/page?x=1#top",
                                 "https://ads.test/page?x=1/", "https://ads.test:80/page?x=1"}) {
        EXPECT_EQ(ZADAdURLStash::viewForURL(url(spelling)), view) << spelling;
    }
    // An explicit port is never changed: not even its fragment or final "/" go.
    for (const char* other : {"https://ads.test:443/page?x=1", "https://ads.test/other"}) {
        EXPECT_EQ(ZADAdURLStash::viewForURL(url(other)), nullptr) << other;
    }
    EXPECT_EQ(ZADAdURLStash::canonicalURLForURL(url("http://ads.test:8080/a/#f"))->absoluteString(),
              "http://ads.test:8080/a/#f");
    EXPECT_EQ(
        ZADAdURLStash::canonicalURLForURL(url("http://ads.test/a/ads.test/"))->absoluteString(),
        "http://ads.test:80/a/ads.test:80");

    ZADAdURLStash::remove(url("https://ads.test/page?x=1#gone"));
    EXPECT_FALSE(ZADAdURLStash::hasStashedURLs());
}

TEST(ZADAdURLStashTest, AViewThatHasGoneIsFoundAsNone) {
    {
        auto view = UIView::initWithFrame(CGRectZero);
        ZADAdURLStash::addForView(url("https://ads.test/page"), view);
    }
    EXPECT_EQ(ZADAdURLStash::viewForURL(url("https://ads.test/page")), nullptr);
    ZADAdURLStash::addForView(nullptr, UIView::initWithFrame(CGRectZero));
    EXPECT_EQ(ZADAdURLStash::viewForURL(nullptr), nullptr);
}

// An ad view registers the page it loads, replacing the one before; through the stash the
// script interceptor finds ad pages at all, and the ad view of a page's address.
TEST(ZADAdURLStashTest, AnAdViewRegistersThePageItLoads) {
    TaskEnvironment environment;
    FakeWebViewEngine::install();
    ZADMRAIDInterceptor::allow();
    ZADMRAIDInterceptor::enableCanInitWithRequest();
    EXPECT_FALSE(ZADMRAIDInterceptor::canInitWithRequestIsEnabled()) << "no ad page yet";

    auto view = ZADAdView::initWithFrame(CGRectMake(0, 0, 320, 50));
    view->loadHTMLStringBaseURL("<p>ad</p>", url("https://ads.test/first"));
    EXPECT_EQ(ZADAdURLStash::viewForURL(url("https://ads.test:80/first")), view);
    EXPECT_TRUE(ZADMRAIDInterceptor::canInitWithRequestIsEnabled());

    view->loadHTMLStringBaseURL("<p>ad</p>", url("https://ads.test/second"));
    EXPECT_EQ(view->URL()->absoluteString(), "https://ads.test/second");
    EXPECT_EQ(ZADAdURLStash::viewForURL(url("https://ads.test/first")), nullptr);
    EXPECT_EQ(ZADAdURLStash::viewForURL(url("https://ads.test/second")), view);

    // Without a slot between asking and its load's end, nothing is taken.
    ZADMRAIDInterceptor::disableCanInitWithRequest();
    EXPECT_FALSE(ZADMRAIDInterceptor::canInitWithRequestIsEnabled());
}

} // namespace
