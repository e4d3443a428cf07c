// The web view over a scripted engine: what reaches the delegate and when, how scripts
// wait for their answers (and never wait forever), and how the page's pictures reach the
// view's drawing.
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "platform/webkit/UIWebView.h"
#include "tests/platform/webkit/RecordingWebViewDelegate.h"
#include "tests/platform/webkit/ScriptAnswerLog.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/webkit/FakeWebViewEngine.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class UIWebViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeWebViewEngine::install();
        webView = UIWebView::initWithFrame(CGRectMake(0, 0, 40, 30));
        webView->setDelegate(delegate);
        engine_ = FakeWebViewEngine::latest();
        ASSERT_NE(engine_, nullptr) << "the web view made no engine";
    }
    FakeWebViewEngine& engine() { return *engine_; }

    TaskEnvironment environment;
    std::shared_ptr<RecordingWebViewDelegate> delegate =
        std::make_shared<RecordingWebViewDelegate>();
    std::shared_ptr<UIWebView> webView;
    FakeWebViewEngine* engine_ = nullptr;
};

TEST_F(UIWebViewTest, EveryNavigationAsksTheDelegateWithItsType) {
    delegate->refuse = [](const std::string& url) { return url.starts_with("zmsg:"); };
    webView->loadRequest(NSURLRequest::requestWithURL(NSURL::URLWithString("http://a.test/")));
    webView->loadHTMLStringBaseURL("<p>hi</p>", nullptr);
    struct Case {
        const char* url;
        UIWebViewNavigationType type;
        bool mainFrame;
        bool allowed;
    };
    const Case cases[] = {
        {"http://a.test/link", UIWebViewNavigationType::LinkClicked, true, true},
        {"http://a.test/form", UIWebViewNavigationType::FormSubmitted, true, true},
        {"http://a.test/back", UIWebViewNavigationType::BackForward, true, true},
        {"http://a.test/again", UIWebViewNavigationType::Reload, true, true},
        {"http://a.test/form2", UIWebViewNavigationType::FormResubmitted, true, true},
        {"http://a.test/frame", UIWebViewNavigationType::Other, false, true},
        {"zmsg://ready?a=1", UIWebViewNavigationType::Other, true, false},
        {"zmsg://frame", UIWebViewNavigationType::Other, false, false},
    };
    for (const auto& c : cases) {
        delegate->log.clear();
        EXPECT_EQ(engine().navigate(c.url, c.type, c.mainFrame), c.allowed) << c.url;
        std::vector<std::string> expected = {std::string("ask ") + c.url + " " +
                                             std::to_string(static_cast<int>(c.type))};
        if (c.allowed && c.mainFrame) {
            expected.push_back("start");
        }
        EXPECT_EQ(delegate->log, expected) << c.url;
    }
    // The view's own loads went to the engine, which asked too.
    EXPECT_THAT(engine().calls, ElementsAre("request http://a.test/", "html "));
}

TEST_F(UIWebViewTest, WithoutADelegateEveryNavigationGoesAhead) {
    webView->setDelegate({});
    EXPECT_TRUE(engine().navigate("zmsg://ready", UIWebViewNavigationType::LinkClicked));
    delegate.reset(); // a delegate that has gone counts as none
    webView->setDelegate(std::make_shared<RecordingWebViewDelegate>());
    EXPECT_TRUE(engine().navigate("zmsg://later", UIWebViewNavigationType::Other));
}

TEST_F(UIWebViewTest, LoadsReportTheirOutcomeAndMoveTheRequest) {
    webView->loadRequest(NSURLRequest::requestWithURL(NSURL::URLWithString("http://a.test/")));
    EXPECT_TRUE(webView->isLoading());
    EXPECT_EQ(webView->request()->URL()->absoluteString(), "http://a.test/");
    engine().finishLoad();
    EXPECT_FALSE(webView->isLoading());

    engine().navigate("http://a.test/next", UIWebViewNavigationType::LinkClicked);
    EXPECT_EQ(webView->request()->URL()->absoluteString(), "http://a.test/next");
    engine().failLoad(NSURLErrorWithCode(NSURLErrorCancelled, "http://a.test/next"));
    EXPECT_THAT(delegate->log, ElementsAre("ask http://a.test/ 5", "start", "finish",
                                           "ask http://a.test/next 0", "start", "fail -999"));

    // Requests without a URL never reach the engine.
    webView->loadRequest(nullptr);
    webView->loadRequest(NSURLRequest::requestWithURL(nullptr));
    EXPECT_THAT(engine().calls, ElementsAre("request http://a.test/"));
}

TEST_F(UIWebViewTest, ADelegateMayLetGoOfTheViewInsideItsCallbacks) {
    delegate->onAsk = [this](UIWebView&) { webView.reset(); };
    FakeWebViewEngine& fake = engine();
    EXPECT_TRUE(fake.navigate("http://a.test/", UIWebViewNavigationType::Other, false));
    EXPECT_EQ(webView, nullptr);
}

TEST_F(UIWebViewTest, ScriptsWaitForThePagesAnswer) {
    engine().answer = [](const std::string& script) { return script == "1+2" ? "3" : ""; };
    // The answer comes as a later event of the main context, which the wait turns.
    EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString("1+2"), "3");
    EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString("({})"), "");
    EXPECT_THAT(engine().scripts, ElementsAre("1+2", "({})"));
}

TEST_F(UIWebViewTest, AnAnswerTooLateYieldsNothingAndWritesNowhere) {
    CapturedLog log;
    UIWebView::setScriptTimeLimit(0);
    engine().holdAnswers = true;
    EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString("slow"), "");
    EXPECT_THAT(log.lines(), ElementsAre("UIWebView: the page did not answer a script within 0 s"));

    // The late answer arrives after the wait gave up: it lands in nothing of the caller's,
    // and the next script gets its own answer.
    engine().releaseAnswers();
    environment.runUntilIdle();
    engine().holdAnswers = false;
    EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString("fast"), "fast");
}

TEST_F(UIWebViewTest, NoScriptWaitsInsideTheDelegatesNavigationDecision) {
    CapturedLog log;
    std::string answer = "unset";
    delegate->onAsk = [&](UIWebView& view) {
        answer = view.stringByEvaluatingJavaScriptFromString("document.title");
    };
    engine().navigate("http://a.test/#part", UIWebViewNavigationType::LinkClicked);
    // The page waits for the decision, so the script would wait for the page: it yields
    // nothing at once, without reaching the engine.
    EXPECT_EQ(answer, "");
    EXPECT_THAT(engine().scripts, IsEmpty());
    EXPECT_EQ(log.lines().size(), 1u);
    // Outside the decision scripts run again.
    EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString("after"), "after");
}

TEST_F(UIWebViewTest, AViewLetGoOfWhileItWaitsLivesUntilItsAnswer) {
    std::weak_ptr<UIWebView> weak = webView;
    NSRunLoop::mainRunLoop().postTask([this] { webView.reset(); });
    EXPECT_EQ(weak.lock()->stringByEvaluatingJavaScriptFromString("x"), "x");
    EXPECT_TRUE(weak.expired());
}

TEST_F(UIWebViewTest, AsynchronousScriptsReturnAtOnceAndAnswerLater) {
    engine().answer = [](const std::string& script) { return script == "1+2" ? "3" : script; };
    ScriptAnswerLog answers;
    bool loopTurned = false;
    NSRunLoop::mainRunLoop().postTask([&] { loopTurned = true; });
    webView->evaluateJavaScriptCompletionHandler("1+2", answers.handler());
    // The script went to the page, and nothing waited for its answer.
    EXPECT_THAT(engine().scripts, ElementsAre("1+2"));
    EXPECT_THAT(answers.lines, IsEmpty());
    EXPECT_FALSE(loopTurned);
    environment.runUntilIdle();
    EXPECT_THAT(answers.lines, ElementsAre("3"));

    // Inside the delegate's navigation decision, where a waiting script yields nothing, an
    // asynchronous one runs: its answer comes after the decision.
    delegate->onAsk = [&](UIWebView& view) {
        view.evaluateJavaScriptCompletionHandler("inside", answers.handler());
        view.evaluateJavaScriptCompletionHandler("no handler", nullptr);
    };
    engine().navigate("http://a.test/#part", UIWebViewNavigationType::LinkClicked);
    EXPECT_THAT(engine().scripts, ElementsAre("1+2", "inside", "no handler"));
    environment.runUntilIdle();
    EXPECT_THAT(answers.lines, ElementsAre("3", "inside"));
}

TEST_F(UIWebViewTest, AViewLetGoOfBeforeItsAnswerHandsItsHandlerAnError) {
    ScriptAnswerLog answers;
    engine().holdAnswers = true;
    webView->evaluateJavaScriptCompletionHandler("late", answers.handler());
    // The engine goes with the view; the handler holds nothing of either.
    webView.reset();
    EXPECT_THAT(answers.lines, IsEmpty());
    environment.runUntilIdle();
    EXPECT_THAT(answers.lines, ElementsAre(" / the page went away"));
}

TEST_F(UIWebViewTest, WithoutAnEngineLoadsFailAfterTheCallAndScriptsYieldNothing) {
    CapturedLog log;
    UIWebView::setEngineFactory(
        [](WebViewEngineClient&) -> ErrorOr<std::unique_ptr<WebViewEngine>> {
            return makeError("WebKitEngine", 1, "GTK cannot open the display :99");
        });
    auto orphan = UIWebView::initWithFrame(CGRectMake(0, 0, 10, 10));
    orphan->setDelegate(delegate);
    EXPECT_THAT(log.lines(),
                ElementsAre("UIWebView: no web engine: GTK cannot open the display :99"));
    orphan->loadRequest(NSURLRequest::requestWithURL(NSURL::URLWithString("http://a.test/")));
    EXPECT_THAT(delegate->log, IsEmpty());
    environment.runUntilIdle();
    EXPECT_THAT(delegate->log, ElementsAre("fail 1"));
    EXPECT_EQ(delegate->lastError->localizedDescription(), "GTK cannot open the display :99");
    EXPECT_EQ(orphan->stringByEvaluatingJavaScriptFromString("1"), "");
    ScriptAnswerLog answers;
    orphan->evaluateJavaScriptCompletionHandler("1", answers.handler());
    EXPECT_THAT(answers.lines, IsEmpty());
    environment.runUntilIdle();
    EXPECT_THAT(answers.lines, ElementsAre(" / GTK cannot open the display :99"));
    EXPECT_FALSE(orphan->isLoading());
    EXPECT_FALSE(orphan->canGoBack());
}

TEST_F(UIWebViewTest, ThePagesPicturesAreDrawnAsTheViewsContent) {
    webView->setFrame(CGRectMake(10, 10, 40, 30));
    EXPECT_EQ(engine().size, CGSizeMake(40, 30));
    webView->loadHTMLStringBaseURL("<body>", nullptr);
    engine().finishLoad();
    environment.runUntilIdle();
    // Outside a window nothing shows the page: no picture is painted.
    EXPECT_EQ(engine().snapshotRequests, 0);
    EXPECT_EQ(webView->pageSnapshot(), nullptr);

    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 60, 60));
    window->setBackgroundColor(UIColor::whiteColor());
    window->addSubview(webView);
    environment.runUntilIdle();
    ASSERT_NE(webView->pageSnapshot(), nullptr);
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    EXPECT_EQ(shot->cgImage()->pixelAt(5, 5), 0xffffffffu);
    EXPECT_EQ(shot->cgImage()->pixelAt(12, 12), 0xffff0000u);
    EXPECT_EQ(shot->cgImage()->pixelAt(48, 38), 0xffff0000u);
    EXPECT_EQ(shot->cgImage()->pixelAt(52, 42), 0xffffffffu);

    // Changes while a picture is painted ask for one more, not one each; the content size
    // follows the page.
    engine().pageColor = CGColorMake(0, 0, 1, 1);
    engine().changeContent(CGSizeMake(40, 500));
    engine().changeContent(CGSizeMake(40, 600));
    engine().changeContent(CGSizeMake(40, 700));
    EXPECT_EQ(webView->scrollView()->contentSize(), CGSizeMake(40, 700));
    environment.runUntilIdle();
    EXPECT_EQ(engine().snapshotRequests, 3);
    shot = ViewRenderer::snapshotWindow(*window, 1);
    EXPECT_EQ(shot->cgImage()->pixelAt(12, 12), 0xff0000ffu);
}

} // namespace
