// The core page's web view on the scripted engine: its states through a load, the command
// queue, one-time observers, the navigation policy, the page's messages reaching the
// handlers, and the active-view tables.
#include "ads/core/NSDictionary+ZADJSONAdditions.h"
#include "ads/render/ZADActiveViewObserver.h"
#include "ads/render/ZADActiveViewZMSGHandler.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADAdView.h"
#include "ads/render/ZADCSI.h"
#include "ads/render/ZADCSITimeRecorder.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/render/ZADSDKCoreWebViewNotification.h"
#include "ads/render/ZADSDKCoreZMSGHandler.h"
#include "ads/render/ZADSDKCoreZMSGHandlerDelegate.h"
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSURLError.h"
#include "platform/webkit/UIWebView.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/ads/render/PageCommands.h"
#include "tests/support/webkit/FakeWebViewEngine.h"

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Key;
using ::testing::Not;

namespace {

constexpr const char* kServer = "https://ads.test";
const std::string kCorePage = std::string(kServer) + ZADSDKCoreWebView::kSDKCorePagePath;

// Writes down the state the view is in each time it is told of a load's end.
class RecordingObserver : public ZADSDKCoreWebViewNotification {
public:
    void didFinishLoadingSDKCoreInSDKCoreWebView(ZADSDKCoreWebView& webView) override {
        states.push_back(webView.state());
    }
    std::vector<int64_t> states;
};

// One line per answer of the page that reached the controller's side.
class RecordingHandlerDelegate : public ZADSDKCoreZMSGHandlerDelegate {
public:
    void sdkCoreZMSGHandlerLoadAdURLWithRequestIDParameters(ZADSDKCoreZMSGHandler&,
                                                            const std::string& requestID,
                                                            const Parameters& parameters) override {
        log.push_back("loadAdURL " + requestID + lineOf(parameters));
    }
    void sdkCoreZMSGHandlerLoadAdWithRequestIDParameters(
        ZADSDKCoreZMSGHandler&, const std::string& requestID,
        const PlistValue::Dictionary& fetchedAd) override {
        log.push_back("loadAd " + requestID + " " +
                      ZADJSONAdditions::zad_JSONStringPretty(fetchedAd, false).value());
    }
    void sdkCoreZMSGHandlerDidReceiveInvalidAdWithRequestIDParameters(
        ZADSDKCoreZMSGHandler&, const std::string& requestID,
        const Parameters& parameters) override {
        log.push_back("invalidRequest " + requestID + lineOf(parameters));
    }
    void sdkCoreZMSGHandlerDidLoadSDKConstants(ZADSDKCoreZMSGHandler&,
                                               const Parameters& constants) override {
        log.push_back("constants" + lineOf(constants));
    }
    void sdkCoreZMSGHandlerDidReceiveSDKCoreUpdateNotification(ZADSDKCoreZMSGHandler&) override {
        log.push_back("reload");
    }
    std::vector<std::string> log;

private:
    static std::string lineOf(const Parameters& parameters) {
        std::string line;
        for (const auto& [name, value] : parameters) {
            line += " " + name + "=" + value;
        }
        return line;
    }
};

class ActiveViewRecorder : public ZADActiveViewObserver {
public:
    void activeViewVisibilityChanged(bool visible) override {
        log.push_back(visible ? "visible" : "hidden");
    }
    void activeViewMonitoringDidStop() override { log.push_back("stop"); }
    std::vector<std::string> log;
};

class SDKCoreWebViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeWebViewEngine::install();
        ZADAdServer::setBaseURL(std::string(kServer) + "/");
        webView = ZADSDKCoreWebView::init();
        engine = FakeWebViewEngine::latest();
        ASSERT_NE(engine, nullptr) << "the core page's web view made no engine";
        webView->SDKCoreZMSGHandler()->setDelegate(handlerDelegate);
    }

    void startLoad(const std::shared_ptr<ZADSDKCoreWebViewNotification>& observer = nullptr) {
        webView->refreshSDKCoreAndNotifyObserver(observer);
        environment.runUntilIdle();
    }
    void load(const std::shared_ptr<ZADSDKCoreWebViewNotification>& observer = nullptr) {
        startLoad(observer);
        engine->finishLoad();
        environment.runUntilIdle();
    }
    void failLoad(const std::string& url) {
        engine->failLoad(NSURLErrorWithCode(NSURLErrorCannotConnectToHost, url));
        environment.runUntilIdle();
    }
    // The page navigates; whether the view let it load.
    bool navigate(const std::string& url,
                  UIWebViewNavigationType type = UIWebViewNavigationType::Other) {
        bool allowed = engine->navigate(url, type);
        environment.runUntilIdle();
        return allowed;
    }
    // The commands the page was given to run, in order.
    std::vector<std::string> commandsRun() const { return commandsRunIn(*engine); }

    TaskEnvironment environment;
    std::shared_ptr<ZADSDKCoreWebView> webView;
    FakeWebViewEngine* engine = nullptr;
    std::shared_ptr<RecordingHandlerDelegate> handlerDelegate =
        std::make_shared<RecordingHandlerDelegate>();
};

TEST_F(SDKCoreWebViewTest, ALoadGoesThroughItsStatesAndIsTimed) {
    EXPECT_EQ(webView->state(), ZADSDKCoreWebView::NotLoaded);
    EXPECT_FALSE(webView->hasSDKCoreLoadedAtLeastOnce());

    startLoad();
    EXPECT_THAT(engine->calls, ElementsAre("request " + kCorePage));
    EXPECT_EQ(webView->state(), ZADSDKCoreWebView::LoadStarted);
    auto recorder = ZADCSI::sharedInstance()->timeRecorderForAction("load_ad_ios");
    EXPECT_THAT(recorder->ongoingVariables(), Contains(Key("jsf_ios")));

    // A second refresh while loading asks for nothing more.
    startLoad();
    EXPECT_EQ(engine->calls.size(), 1u);

    engine->finishLoad();
    environment.runUntilIdle();
    EXPECT_EQ(webView->state(), ZADSDKCoreWebView::Loaded);
    EXPECT_TRUE(webView->hasSDKCoreLoadedAtLeastOnce());
    EXPECT_THAT(recorder->ongoingVariables(), IsEmpty());
    EXPECT_THAT(recorder->completedVariables(), Contains(Key("jsf_ios")));

    // A refresh of a loaded page loads it again; having loaded once stays true.
    startLoad();
    EXPECT_EQ(engine->calls.size(), 2u);
    EXPECT_TRUE(webView->hasSDKCoreLoadedAtLeastOnce());
}

TEST_F(SDKCoreWebViewTest, AFailedLoadOfTheCorePageEndsInStateFourUntimed) {
    startLoad();
    failLoad("https://elsewhere.test/");
    EXPECT_EQ(webView->state(), ZADSDKCoreWebView::LoadStarted);

    failLoad(kCorePage);
    EXPECT_EQ(webView->state(), ZADSDKCoreWebView::LoadFailed);
    EXPECT_FALSE(webView->hasSDKCoreLoadedAtLeastOnce());
    auto recorder = ZADCSI::sharedInstance()->timeRecorderForAction("load_ad_ios");
    EXPECT_THAT(recorder->ongoingVariables(), IsEmpty());
    EXPECT_THAT(recorder->completedVariables(), IsEmpty());
}

TEST_F(SDKCoreWebViewTest, ALoadThatCannotStartFailsAndObserversHear) {
    // No engine: the web view reports a failure that names no URL.
    UIWebView::setEngineFactory(
        [](WebViewEngineClient&) -> ErrorOr<std::unique_ptr<WebViewEngine>> {
            return NSError::errorWithDomainCodeUserInfo("test", 1, {});
        });
    auto withoutEngine = ZADSDKCoreWebView::init();
    auto observer = std::make_shared<RecordingObserver>();
    withoutEngine->refreshSDKCoreAndNotifyObserver(observer);
    environment.runUntilIdle();
    EXPECT_EQ(withoutEngine->state(), ZADSDKCoreWebView::LoadFailed);
    EXPECT_THAT(observer->states, ElementsAre(ZADSDKCoreWebView::LoadFailed));

    // An ad server setting that makes no URL.
    ZADAdServer::setBaseURL("not a server");
    auto unreachable = std::make_shared<RecordingObserver>();
    webView->refreshSDKCoreAndNotifyObserver(unreachable);
    environment.runUntilIdle();
    EXPECT_EQ(webView->state(), ZADSDKCoreWebView::LoadFailed);
    EXPECT_THAT(unreachable->states, ElementsAre(ZADSDKCoreWebView::LoadFailed));
}

TEST_F(SDKCoreWebViewTest, CommandsWaitForTheLoadAndOnlyTheNewestFiftyRun) {
    for (int i = 1; i <= 51; ++i) {
        webView->enqueueJavaScriptCommand("c(" + std::to_string(i) + ")");
    }
    environment.runUntilIdle();
    startLoad();
    EXPECT_THAT(commandsRun(), IsEmpty());

    engine->finishLoad();
    environment.runUntilIdle();
    std::vector<std::string> expected;
    for (int i = 2; i <= 51; ++i) {
        expected.push_back("c(" + std::to_string(i) + ")");
    }
    EXPECT_EQ(commandsRun(), expected);

    // Once loaded, a command runs at once, and nothing runs twice.
    webView->enqueueJavaScriptCommand("late()");
    environment.runUntilIdle();
    webView->dispatchPendingJavaScriptCommands();
    environment.runUntilIdle();
    EXPECT_EQ(commandsRun().size(), 51u);
    EXPECT_EQ(commandsRun().back(), "late()");
}

TEST_F(SDKCoreWebViewTest, AfterAFailedLoadNewCommandsAreDroppedAndWaitingOnesKept) {
    webView->enqueueJavaScriptCommand("before()");
    startLoad();
    failLoad(kCorePage);
    webView->enqueueJavaScriptCommand("dropped()");
    environment.runUntilIdle();

    load();
    EXPECT_THAT(commandsRun(), ElementsAre("before()"));
}

TEST_F(SDKCoreWebViewTest, ObserversHearOfOneLoadEndOnly) {
    auto early = std::make_shared<RecordingObserver>();
    auto removed = std::make_shared<RecordingObserver>();
    webView->addObserverForOneTimeNotification(early);
    environment.runUntilIdle();
    EXPECT_THAT(early->states, IsEmpty()) << "no load has ended yet";

    auto during = std::make_shared<RecordingObserver>();
    startLoad(during);
    webView->addObserverForOneTimeNotification(removed);
    webView->removeObserver(removed);
    environment.runUntilIdle();
    EXPECT_THAT(during->states, IsEmpty());

    engine->finishLoad();
    environment.runUntilIdle();
    EXPECT_THAT(early->states, ElementsAre(ZADSDKCoreWebView::Loaded));
    EXPECT_THAT(during->states, ElementsAre(ZADSDKCoreWebView::Loaded));
    EXPECT_THAT(removed->states, IsEmpty());

    // Added after the load: told at once. The next load's end is news for nobody above.
    auto late = std::make_shared<RecordingObserver>();
    webView->addObserverForOneTimeNotification(late);
    environment.runUntilIdle();
    EXPECT_THAT(late->states, ElementsAre(ZADSDKCoreWebView::Loaded));

    auto failing = std::make_shared<RecordingObserver>();
    startLoad(failing);
    failLoad(kCorePage);
    EXPECT_THAT(failing->states, ElementsAre(ZADSDKCoreWebView::LoadFailed));
    EXPECT_EQ(early->states.size(), 1u);
    EXPECT_EQ(during->states.size(), 1u);
    EXPECT_EQ(late->states.size(), 1u);
}

struct NavigationCase {
    const char* when; // "idle", "loading", "loaded"
    std::string url;
    bool allowed;
    const char* reaches; // what the controller's side hears, or ""
};

class SDKCoreNavigationTest : public SDKCoreWebViewTest,
                              public ::testing::WithParamInterface<NavigationCase> {};

TEST_P(SDKCoreNavigationTest, OnlyTheCorePageLoadsAndMessagesCountOnceLoaded) {
    const NavigationCase& c = GetParam();
    if (std::string(c.when) == "loading") {
        startLoad();
    } else if (std::string(c.when) == "loaded") {
        load();
    }
    EXPECT_EQ(navigate(c.url, UIWebViewNavigationType::LinkClicked), c.allowed);
    if (*c.reaches) {
        EXPECT_THAT(handlerDelegate->log, ElementsAre(c.reaches));
    } else {
        EXPECT_THAT(handlerDelegate->log, IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SDKCoreNavigationTest,
    ::testing::Values(NavigationCase{"idle", "zmsg://x/loadSdkConstants?a=1", false, ""},
                      NavigationCase{"idle", "https://ads.test/other.html", false, ""},
                      NavigationCase{"idle", kCorePage, true, ""},
                      // While the page loads, nothing else loads, not even the page again.
                      NavigationCase{"loading", kCorePage, false, ""},
                      NavigationCase{"loading", "zmsg://x/loadSdkConstants?a=1", false, ""},
                      NavigationCase{"loaded", "https://ads.test/other.html", false, ""},
                      NavigationCase{"loaded", kCorePage + "#x", false, ""},
                      NavigationCase{"loaded", "about:blank", false, ""},
                      NavigationCase{"loaded", "javascript:alert(1)", false, ""},
                      // A reload of the loaded page is its own load again.
                      NavigationCase{"loaded", kCorePage, true, ""},
                      // Messages reach the handlers and never load, known or not.
                      NavigationCase{"loaded", "zmsg://x/loadSdkConstants?a=1;B=x+y", false,
                                     "constants B=x+y a=1"},
                      NavigationCase{"loaded", "zmsg://x/unknownMessage?a=1", false, ""},
                      NavigationCase{"loaded", "zmsg://x/visibilityChanged?hashCode=1&isVisible=1",
                                     false, ""}));

struct MessageCase {
    std::string query;
    const char* heard; // null: nobody hears
};

class SDKCoreMessageTest : public SDKCoreWebViewTest,
                           public ::testing::WithParamInterface<MessageCase> {};

TEST_P(SDKCoreMessageTest, ThePageAnswersReachTheControllerSideOnTheMainQueue) {
    load();
    navigate("zmsg://core/" + GetParam().query);
    if (GetParam().heard) {
        EXPECT_THAT(handlerDelegate->log, ElementsAre(GetParam().heard));
    } else {
        EXPECT_THAT(handlerDelegate->log, IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SDKCoreMessageTest,
    ::testing::Values(MessageCase{"loadAdURL?request_id=7&url=a%20b",
                                  "loadAdURL 7 request_id=7 url=a b"},
                      MessageCase{"loadAdURL?url=u", "loadAdURL  url=u"},
                      MessageCase{"loadAd?request_id=3&fetched_ad=%7B%22is_mediation%22%3A1%7D",
                                  "loadAd 3 {\"is_mediation\":1}"},
                      MessageCase{"loadAd?request_id=3&fetched_ad=%7Bnot%20json", nullptr},
                      MessageCase{"loadAd?request_id=3&fetched_ad=%5B1%5D", nullptr},
                      MessageCase{"loadAd?request_id=3", nullptr},
                      MessageCase{"invalidRequest?request_id=4&errors=bad",
                                  "invalidRequest 4 errors=bad request_id=4"},
                      MessageCase{"loadSdkConstants?x=1&y=%5B1%2C2%5D", "constants x=1 y=[1,2]"},
                      MessageCase{"requestReload?ignored=1", "reload"},
                      MessageCase{"LoadAdURL?request_id=7", nullptr}));

TEST_F(SDKCoreWebViewTest, ActiveViewUnitsRunUntilUntrackedOrCleared) {
    load();
    auto first = std::make_shared<ActiveViewRecorder>();
    auto second = std::make_shared<ActiveViewRecorder>();
    webView->setActiveViewObserverForActiveViewID(first, 5);
    webView->setActiveViewObserverForActiveViewID(second, 5); // the id has one already
    environment.runUntilIdle();
    EXPECT_TRUE(webView->isActiveViewRunning());

    navigate("zmsg://x/visibilityChanged?hashCode=5&isVisible=1");
    navigate("zmsg://x/visibilityChanged?hashCode=5&isVisible=true");
    navigate("zmsg://x/visibilityChanged?hashCode=5&isVisible=0");
    navigate("zmsg://x/visibilityChanged?hashCode=5");
    navigate("zmsg://x/visibilityChanged?isVisible=1");
    navigate("zmsg://x/visibilityChanged?hashCode=6&isVisible=1");
    navigate("zmsg://x/visibilityChanged?hashCode=-1&isVisible=1");
    EXPECT_THAT(first->log, ElementsAre("visible", "hidden", "hidden"));
    EXPECT_THAT(second->log, IsEmpty());

    // Removing the observer leaves the unit running until the page untracks it.
    webView->removeActiveViewObserverForActiveViewID(5);
    EXPECT_TRUE(webView->isActiveViewRunning());
    navigate("zmsg://x/visibilityChanged?hashCode=5&isVisible=1");
    navigate("zmsg://x/untrackActiveViewUnit");
    EXPECT_TRUE(webView->isActiveViewRunning());
    navigate("zmsg://x/untrackActiveViewUnit?hashCode=5");
    EXPECT_FALSE(webView->isActiveViewRunning());
    EXPECT_THAT(first->log, ElementsAre("visible", "hidden", "hidden"));

    // Untracking a unit that still has its observer tells it monitoring stopped.
    webView->setActiveViewObserverForActiveViewID(second, 7);
    environment.runUntilIdle();
    navigate("zmsg://x/trackActiveViewUnit");
    navigate("zmsg://x/untrackActiveViewUnit?hashCode=7");
    EXPECT_THAT(second->log, ElementsAre("stop"));
    EXPECT_FALSE(webView->isActiveViewRunning());
}

TEST_F(SDKCoreWebViewTest, ClearingTellsEveryObserverAtOnceAndGoneObserversAreSkipped) {
    auto kept = std::make_shared<ActiveViewRecorder>();
    auto gone = std::make_shared<ActiveViewRecorder>();
    webView->setActiveViewObserverForActiveViewID(kept, 1);
    webView->setActiveViewObserverForActiveViewID(gone, 2);
    environment.runUntilIdle();
    gone.reset();
    // An observer gone before its registration arrives is never registered.
    auto neverThere = std::make_shared<ActiveViewRecorder>();
    webView->setActiveViewObserverForActiveViewID(neverThere, 3);
    neverThere.reset();
    environment.runUntilIdle();

    webView->clearAllActiveViewInstances();
    EXPECT_THAT(kept->log, ElementsAre("stop")) << "told on the calling thread, before any task";
    EXPECT_FALSE(webView->isActiveViewRunning());
    environment.runUntilIdle();
    EXPECT_THAT(kept->log, ElementsAre("stop"));

    // A cleared id takes a new observer.
    auto again = std::make_shared<ActiveViewRecorder>();
    webView->setActiveViewObserverForActiveViewID(again, 1);
    environment.runUntilIdle();
    EXPECT_TRUE(webView->isActiveViewRunning());
}

TEST_F(SDKCoreWebViewTest, OnReleaseTheHiddenAdViewLeavesItsSuperviewAndDelegate) {
    auto adView = webView->adView();
    auto superview = UIView::initWithFrame(CGRectMake(0, 0, 10, 10));
    superview->addSubview(adView);
    EXPECT_TRUE(adView->isHidden());
    webView.reset();
    environment.runUntilIdle();
    EXPECT_FALSE(adView->superview());
    EXPECT_FALSE(adView->delegate());
}

TEST_F(SDKCoreWebViewTest, CommandsAndMessagesNeverWaitForThePage) {
    load();
    CapturedLog log;
    // A page that never answers would hold a waiting script for the whole time limit, and
    // the run loop's tasks (this one) would run inside that wait.
    engine->holdAnswers = true;
    bool loopTurned = false;
    webView->enqueueJavaScriptCommand("first();");
    webView->postJSNotificationUserInfo("navigationBlocked", std::nullopt);
    environment.runUntilIdle();
    webView->adView()->executeJavaScriptAsynchronouslyFromString("second();");
    NSRunLoop::mainRunLoop().postTask([&] { loopTurned = true; });
    webView->adView()->executeJavaScriptAsynchronouslyFromString("third();");
    EXPECT_FALSE(loopTurned);
    EXPECT_THAT(commandsRun(), ElementsAre("first();", "second();", "third();"));
    EXPECT_THAT(engine->scripts, Contains("ROZU_ReceiveMessage(\"navigationBlocked\");"));
    EXPECT_THAT(log.lines(), IsEmpty());
    // Answers that come after the view has gone reach nothing of it.
    webView.reset();
    environment.runUntilIdle();
}

TEST_F(SDKCoreWebViewTest, MessagesToThePageAreJSONNeverPastedText) {
    load();
    const std::string hostile = "x'); steal('\xE2\x80\xA8\"</script>";
    const std::string encoded = R"("x'); steal('\u2028\"\u003c/script>")";
    webView->postJSNotificationUserInfo(hostile, PlistValue::Dictionary{{"k", hostile}});
    webView->postJSNotificationUserInfo("plain", std::nullopt);
    environment.runUntilIdle();
    ASSERT_EQ(engine->scripts.size(), 2u);
    EXPECT_EQ(engine->scripts[0], "ROZU_ReceiveMessage(" + encoded + ", {\"k\":" + encoded + "});");
    EXPECT_EQ(engine->scripts[1], "ROZU_ReceiveMessage(\"plain\");");
    // Bytes that are not text in the name are replaced, never a reason to fail.
    EXPECT_EQ(
        ZADAdView::JSCommandForNotificationNameUserInfo("a\xFF", PlistValue::Dictionary{}).value(),
        "ROZU_ReceiveMessage(\"a\\ufffd\", {});");

    // A user info JSON cannot say is not sent at all, and the log says why.
    CapturedLog log;
    webView->postJSNotificationUserInfo("dated", PlistValue::Dictionary{{"when", NSDate{0}}});
    environment.runUntilIdle();
    EXPECT_EQ(engine->scripts.size(), 2u);
    EXPECT_THAT(log.lines(), ElementsAre("ZADAdView: the page's message dated was not sent: its "
                                         "user info is not JSON (Invalid JSON object.)"));
}

} // namespace
