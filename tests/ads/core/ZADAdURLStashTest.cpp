#include "ads/core/ZADAdURLStash.h"

#include "platform/foundation/NSURL.h"
#include "platform/uikit/UIView.h"

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

} // namespace
