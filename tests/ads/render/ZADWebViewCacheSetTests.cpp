// The pool of blank web views: a web view enters it only once blanked to an empty page, at
// most three are blanked at a time, and a pool without capacity keeps none.
#include "ads/render/ZADWebViewCacheSet.h"

#include "platform/foundation/NSError.h"
#include "platform/foundation/NSURLError.h"
#include "platform/webkit/UIWebView.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/webkit/FakeWebViewEngine.h"

#include <gmock/gmock.h>

#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct Page {
    std::shared_ptr<UIWebView> webView;
    FakeWebViewEngine* engine;
};

class WebViewCacheSetTest : public ::testing::Test {
protected:
    void SetUp() override { FakeWebViewEngine::install(); }

    // A web view whose page answers its content with `content`.
    Page page(std::string content = "") {
        auto webView = UIWebView::initWithFrame(CGRectMake(0, 0, 320, 50));
        auto* engine = FakeWebViewEngine::latest();
        engine->answer = [content](const std::string&) { return content; };
        return {webView, engine};
    }

    TaskEnvironment environment;
};

TEST_F(WebViewCacheSetTest, AWebViewIsPooledOnlyOnceItsPageIsBlank) {
    auto cache = ZADWebViewCacheSet::initWithMaxCapacity(2);
    Page blank = page();
    Page stubborn = page("<p>still here</p>");
    Page failing = page();
    for (const Page* p : {&blank, &stubborn, &failing}) {
        cache->addObject(p->webView);
    }
    EXPECT_THAT(blank.engine->calls, IsEmpty()) << "blanking waits for the main queue";
    environment.runUntilIdle();
    EXPECT_THAT(blank.engine->calls, ElementsAre("stop", "request about:blank"));
    // While blanking, the page may go nowhere else.
    EXPECT_FALSE(blank.engine->navigate("https://ads.test/", UIWebViewNavigationType::Other));

    blank.engine->finishLoad();
    stubborn.engine->finishLoad();
    failing.engine->failLoad(NSError::errorWithDomainCodeUserInfo(NSURLErrorDomain, -1, {}));
    environment.runUntilIdle();
    for (const Page* p : {&blank, &stubborn, &failing}) {
        EXPECT_EQ(p->webView->delegate(), nullptr);
    }
    EXPECT_EQ(cache->anyObject(), blank.webView);
    EXPECT_EQ(cache->anyObject(), nullptr);
}

TEST_F(WebViewCacheSetTest, AtMostThreeAreBlankedAtATime) {
    auto cache = ZADWebViewCacheSet::initWithMaxCapacity(9);
    std::vector<Page> pages;
    for (int i = 0; i < 4; ++i) {
        pages.push_back(page());
        cache->addObject(pages.back().webView);
    }
    environment.runUntilIdle();
    for (int i = 0; i < 3; ++i) {
        EXPECT_THAT(pages[i].engine->calls, ElementsAre("stop", "request about:blank")) << i;
    }
    EXPECT_THAT(pages[3].engine->calls, IsEmpty()) << "the fourth is dropped";
}

TEST_F(WebViewCacheSetTest, APoolWithoutCapacityTouchesNothing) {
    auto cache = ZADWebViewCacheSet::initWithMaxCapacity(0);
    Page unused = page();
    cache->addObject(unused.webView);
    environment.runUntilIdle();
    EXPECT_THAT(unused.engine->calls, IsEmpty());
    EXPECT_EQ(cache->anyObject(), nullptr);
}

} // namespace
