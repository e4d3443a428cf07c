// The web view on the real engine (WebKitGTK, on our own X server when there is no
// display): page loads, navigations reaching the delegate and refused ones never loading,
// synchronous scripts, the page's pixels in the view tree. The engine works in a process
// of its own, in real time: these tests wait for its answers with a generous limit.
// Also: how the engine's load errors read to the delegate.
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "platform/webkit/UIWebView.h"
#include "platform/webkit/WebKitEngine.h"
#include "tests/platform/foundation/LoopbackServer.h"
#include "tests/platform/webkit/RecordingWebViewDelegate.h"
#include "tests/platform/webkit/ScriptAnswerLog.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/webkit/MainContextWait.h"

#include <gio/gio.h>
#include <glib.h>
#include <gmock/gmock.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <atomic>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

constexpr const char* kBase = "http://127.0.0.1:1/page/";

class RealWebViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        webView = UIWebView::initWithFrame(CGRectMake(0, 0, 200, 100));
        webView->setDelegate(delegate);
        window->addSubview(webView);
    }

    bool logHas(const std::string& line) {
        return std::find(delegate->log.begin(), delegate->log.end(), line) != delegate->log.end();
    }
    void loadPage(const std::string& html) {
        webView->loadHTMLStringBaseURL(html, NSURL::URLWithString(kBase));
        ASSERT_TRUE(turnMainContextUntil([&] { return logHas("finish") || logHas("fail -1"); }));
        ASSERT_TRUE(logHas("finish"));
    }

    TaskEnvironment environment;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 200, 100));
    std::shared_ptr<RecordingWebViewDelegate> delegate =
        std::make_shared<RecordingWebViewDelegate>();
    std::shared_ptr<UIWebView> webView;
};

TEST_F(RealWebViewTest, APageLoadsAsTheDelegateAllows) {
    ASSERT_NO_FATAL_FAILURE(loadPage("<title>t</title><p>hello</p>"));
    EXPECT_THAT(delegate->log, ElementsAre(std::string("ask ") + kBase + " 5", "start", "finish"));
    EXPECT_EQ(webView->request()->URL()->absoluteString(), kBase);
    EXPECT_FALSE(webView->isLoading());
}

TEST_F(RealWebViewTest, RefusedNavigationsReachTheDelegateAndNeverLoad) {
    delegate->refuse = [](const std::string& url) {
        return !url.starts_with("http://127.0.0.1:1/page/");
    };
    ASSERT_NO_FATAL_FAILURE(loadPage(R"(
        <iframe src="zmsg://frame?from=iframe"></iframe>
        <a id="link" href="zmsg://link?x=1">link</a>
        <a id="blank" href="http://elsewhere.test/" target="_blank">new window</a>
        <form id="form" action="zmsg://form"><input name="q" value="v"></form>)"));
    const std::pair<const char*, const char*> cases[] = {
        {"location = 'zmsg://ready?a=1&b=two'", "ask zmsg://ready?a=1&b=two 5"},
        {"document.getElementById('link').click()", "ask zmsg://link?x=1 0"},
        {"document.getElementById('blank').click()", "ask http://elsewhere.test/ 0"},
        {"window.open('zmsg://opened')", "ask zmsg://opened 5"},
        {"document.getElementById('form').submit()", "ask zmsg://form?q=v 1"},
        {"document.querySelector('iframe').src = 'zmsg://frame?again=1'",
         "ask zmsg://frame?again=1 5"},
    };
    for (const auto& [script, asked] : cases) {
        webView->stringByEvaluatingJavaScriptFromString(script);
        EXPECT_TRUE(turnMainContextUntil([&] { return logHas(asked); }))
            << script << "\n"
            << ::testing::PrintToString(delegate->log);
    }
    EXPECT_TRUE(logHas("ask zmsg://frame?from=iframe 5"));
    // Nothing refused loaded: the page is still the first one, and never failed.
    EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString("location.href"), kBase);
    EXPECT_EQ(webView->request()->URL()->absoluteString(), kBase);
    EXPECT_THAT(delegate->log, Not(Contains(::testing::StartsWith("fail"))));
    EXPECT_EQ(std::count(delegate->log.begin(), delegate->log.end(), "start"), 1);
}

TEST_F(RealWebViewTest, ALinkForANewWindowIsAskedOnceAndLoadsHere) {
    LoopbackServer server;
    server.server().Get("/next", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("<title>next</title>", "text/html");
    });
    ASSERT_TRUE(server.start());
    const std::string next = server.url("/next");
    ASSERT_NO_FATAL_FAILURE(
        loadPage("<a id='blank' target='_blank' href='" + next + "'>new window</a>"));
    delegate->log.clear();
    webView->stringByEvaluatingJavaScriptFromString("document.getElementById('blank').click()");
    ASSERT_TRUE(turnMainContextUntil([&] { return logHas("finish"); }));
    EXPECT_THAT(delegate->log, ElementsAre("ask " + next + " 0", "start", "finish"));
    EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString("document.title"), "next");
}

// Allows a link's navigation to its URL, refuses every other kind of navigation to it.
class LinksOnlyDelegate : public RecordingWebViewDelegate {
public:
    bool
    webViewShouldStartLoadWithRequestNavigationType(UIWebView& webView,
                                                    const std::shared_ptr<NSURLRequest>& request,
                                                    UIWebViewNavigationType type) override {
        bool allowed = RecordingWebViewDelegate::webViewShouldStartLoadWithRequestNavigationType(
            webView, request, type);
        return allowed && (request->URL()->absoluteString() != linked ||
                           type == UIWebViewNavigationType::LinkClicked);
    }
    std::string linked;
};

TEST_F(RealWebViewTest, AFramesNavigationToANewWindowsURLIsAskedOnItsOwn) {
    LoopbackServer server;
    std::atomic<int> fetched = 0;
    server.server().Get("/next", [&](const httplib::Request&, httplib::Response& response) {
        ++fetched;
        response.set_content("<title>next</title>", "text/html");
    });
    ASSERT_TRUE(server.start());
    auto links = std::make_shared<LinksOnlyDelegate>();
    links->linked = server.url("/next");
    webView->setDelegate(links);
    delegate = links;
    ASSERT_NO_FATAL_FAILURE(loadPage("<iframe id='frame' src='about:blank'></iframe>"
                                     "<a id='blank' target='_blank' href='" +
                                     links->linked + "'>new window</a>"));
    delegate->log.clear();
    // The frame's navigation is decided before the load the link's new window makes here.
    webView->stringByEvaluatingJavaScriptFromString("document.getElementById('blank').click();"
                                                    "document.getElementById('frame').src = '" +
                                                    links->linked + "';");
    ASSERT_TRUE(turnMainContextUntil([&] { return logHas("finish"); }));
    // Asked twice, once for each navigation: the link's allowed, the frame's refused. The
    // page fetched it once, in the view's own frame.
    EXPECT_EQ(std::count(delegate->log.begin(), delegate->log.end(), "ask " + links->linked + " 0"),
              1);
    EXPECT_EQ(std::count(delegate->log.begin(), delegate->log.end(), "ask " + links->linked + " 5"),
              1);
    EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString("document.title"), "next");
    EXPECT_EQ(fetched, 1);
}

TEST_F(RealWebViewTest, ScriptsAnswerSynchronously) {
    ASSERT_NO_FATAL_FAILURE(loadPage("<title>Title</title>"));
    const std::pair<const char*, const char*> cases[] = {
        {"1 + 2", "3"},
        {"document.title", "Title"},
        {"'a' + '\\u2028' + 'b'", "a\u2028b"},
        {"true", "true"},
        {"({a: 1})", ""},
        {"undefined", ""},
        {"throw new Error('no')", ""},
        {"syntax error here", ""},
    };
    for (const auto& [script, expected] : cases) {
        EXPECT_EQ(webView->stringByEvaluatingJavaScriptFromString(script), expected) << script;
    }
}

TEST_F(RealWebViewTest, AnAsynchronousScriptReturnsBeforeThePageAnswers) {
    ASSERT_NO_FATAL_FAILURE(loadPage("<title>Title</title>"));
    bool loopTurned = false;
    NSRunLoop::mainRunLoop().postTask([&] { loopTurned = true; });
    ScriptAnswerLog answers;
    webView->evaluateJavaScriptCompletionHandler("document.title", answers.handler());
    webView->evaluateJavaScriptCompletionHandler("throw new Error('no')", answers.handler());
    // Nothing waited: the loop where the page answers has not turned once.
    EXPECT_THAT(answers.lines, IsEmpty());
    EXPECT_FALSE(loopTurned);
    ASSERT_TRUE(turnMainContextUntil([&] { return answers.lines.size() == 2; }));
    EXPECT_EQ(answers.lines[0], "Title");
    EXPECT_THAT(answers.lines[1], StartsWith(" / ")) << "a script that threw is an error";
}

TEST_F(RealWebViewTest, AViewLetGoOfBeforeItsAnswerIsNeverTouchedByIt) {
    ASSERT_NO_FATAL_FAILURE(loadPage("<title>Title</title>"));
    ScriptAnswerLog answers;
    webView->evaluateJavaScriptCompletionHandler("document.title", answers.handler());
    std::weak_ptr<UIWebView> weak = webView;
    webView->removeFromSuperview();
    webView.reset();
    ASSERT_TRUE(weak.expired());
    // The handler still hears once, of the page that went, and reaches nothing freed.
    ASSERT_TRUE(turnMainContextUntil([&] { return !answers.lines.empty(); }));
    EXPECT_THAT(answers.lines, ElementsAre(StartsWith(" / ")));
}

TEST_F(RealWebViewTest, AScriptRunsFromTheDelegatesLoadCallback) {
    std::string title;
    delegate->onFinish = [&](UIWebView& view) {
        title = view.stringByEvaluatingJavaScriptFromString("document.title");
    };
    ASSERT_NO_FATAL_FAILURE(loadPage("<title>Loaded</title>"));
    EXPECT_EQ(title, "Loaded");
}

TEST_F(RealWebViewTest, ThePagesPixelsAreDrawnInTheViewTree) {
    ASSERT_NO_FATAL_FAILURE(loadPage(
        R"(<body style="margin:0;background:#0000ff;height:300px">
           <div style="width:50px;height:40px;background:#ff0000"></div></body>)"));
    ASSERT_TRUE(turnMainContextUntil([&] {
        return webView->pageSnapshot() != nullptr &&
               webView->scrollView()->contentSize() == CGSizeMake(200, 300);
    }));
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    EXPECT_EQ(shot->cgImage()->pixelAt(10, 10), 0xffff0000u);
    EXPECT_EQ(shot->cgImage()->pixelAt(150, 80), 0xff0000ffu);

    // A change of the page is drawn too.
    webView->stringByEvaluatingJavaScriptFromString(
        "document.querySelector('div').style.background = '#00ff00'");
    ASSERT_TRUE(turnMainContextUntil([&] {
        return ViewRenderer::snapshotWindow(*window, 1)->cgImage()->pixelAt(10, 10) == 0xff00ff00u;
    }));
}

TEST_F(RealWebViewTest, AStoppedLoadFailsAsCancelled) {
    LoopbackServer server;
    server.server().Get("/slow", [&](const httplib::Request&, httplib::Response& response) {
        server.hold();
        response.set_content("late", "text/plain");
    });
    ASSERT_TRUE(server.start());
    webView->loadRequest(NSURLRequest::requestWithURL(NSURL::URLWithString(server.url("/slow"))));
    ASSERT_TRUE(turnMainContextUntil([&] { return logHas("start"); }));
    EXPECT_TRUE(webView->isLoading());
    webView->stopLoading();
    ASSERT_TRUE(turnMainContextUntil([&] { return logHas("fail -999"); }));
    EXPECT_THAT(delegate->log, Not(Contains("finish")));
    server.release();
}

TEST(WebKitEngineErrorTest, LoadErrorsReadAsURLErrors) {
    struct Case {
        GQuark domain;
        int code;
        long expected;
    };
    const Case cases[] = {
        {WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED, NSURLErrorCancelled},
        {WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL, NSURLErrorUnsupportedURL},
        {WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_TRANSPORT, NSURLErrorUnknown},
        {WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_CANNOT_SHOW_URI, NSURLErrorUnsupportedURL},
        {G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED, NSURLErrorCannotConnectToHost},
        {G_IO_ERROR, G_IO_ERROR_TIMED_OUT, NSURLErrorTimedOut},
        {G_IO_ERROR, G_IO_ERROR_CANCELLED, NSURLErrorCancelled},
        {G_RESOLVER_ERROR, G_RESOLVER_ERROR_NOT_FOUND, NSURLErrorCannotFindHost},
        {G_TLS_ERROR, G_TLS_ERROR_BAD_CERTIFICATE, NSURLErrorSecureConnectionFailed},
    };
    for (const auto& c : cases) {
        GError error{c.domain, c.code, const_cast<char*>("why")};
        auto mapped = WebKitEngine::errorForLoadFailure(error, "http://host.test/x");
        ASSERT_NE(mapped, nullptr);
        EXPECT_EQ(mapped->domain(), NSURLErrorDomain);
        EXPECT_EQ(mapped->code(), c.expected) << g_quark_to_string(c.domain) << " " << c.code;
        EXPECT_EQ(mapped->userInfo().at(NSErrorFailingURLStringKey).stringValue(),
                  "http://host.test/x");
    }
    // A load stopped because the delegate refused its navigation is no failure.
    GError refused{WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE,
                   const_cast<char*>("interrupted")};
    EXPECT_EQ(WebKitEngine::errorForLoadFailure(refused, "http://host.test/"), nullptr);
}

} // namespace
