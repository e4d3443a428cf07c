// The core page's web view on the real engine, on our own ad server's core page (the
// server runs in this process on a free loopback port, on the bundled site and
// inventory), side by side with WebKitGTK's own view loading the same URL (the anchor):
// the page's load from the request to ready (told to an observer, against WebKit's load
// finished), and zmsg round trips (a command in, the page's message out, parsed and handed
// to the controller's side, against the same command whose navigation WebKit's own policy
// decision catches). The engine's processes start before the timing; times and rates are
// wall-clock, since the pages work in processes of their own. "vsWebKit" is our time over
// the anchor's.
#include "BundledAdServer.h"
#include "PlainWebKitView.h"
#include "SideBySide.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADAdView.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/render/ZADSDKCoreWebViewNotification.h"
#include "ads/render/ZADSDKCoreZMSGHandler.h"
#include "ads/render/ZADSDKCoreZMSGHandlerDelegate.h"
#include "adserver/AdServer.h"
#include "platform/base/NSRunLoop.h"

#include <benchmark/benchmark.h>

namespace {

constexpr const char* kCommand = R"(ROZU_getSdkConstants({"js": "bench"});)";

class Ready : public ZADSDKCoreWebViewNotification {
public:
    void didFinishLoadingSDKCoreInSDKCoreWebView(ZADSDKCoreWebView&) override { told = true; }
    bool told = false;
};

// Any answer ends a round trip's wait; an empty one is noted, not waited past.
class ConstantsReceived : public ZADSDKCoreZMSGHandlerDelegate {
public:
    void sdkCoreZMSGHandlerDidLoadSDKConstants(ZADSDKCoreZMSGHandler&,
                                               const Parameters& constants) override {
        received = true;
        empty = constants.empty();
    }
    bool received = false;
    bool empty = false;
};

// Our core web view and WebKit's own view, each on the server's core page, loaded once so
// that their engines run; false, with the benchmark skipped, when either cannot be had.
struct CorePages {
    bool start(benchmark::State& state) {
        server = startBundledAdServer(state);
        if (!server) {
            return false;
        }
        if (!plain.view()) {
            state.SkipWithError("no display for WebKit");
            return false;
        }
        NSRunLoop::mainRunLoop();
        ZADAdServer::setBaseURL(server->baseURL());
        core->SDKCoreZMSGHandler()->setDelegate(constants);
        if (!loadOurs()) {
            state.SkipWithError("the core page did not load in our web view");
            return false;
        }
        loadAnchor();
        return true;
    }
    bool loadOurs() {
        auto ready = std::make_shared<Ready>();
        core->refreshSDKCoreAndNotifyObserver(ready);
        PlainWebKitView::turnMainContextUntil(ready->told);
        return core->state() == ZADSDKCoreWebView::Loaded;
    }
    void loadAnchor() { plain.loadURI(server->baseURL() + AdServer::kCorePagePath); }
    // Whether the page's constants came, not empty.
    bool roundTripOurs() {
        constants->received = false;
        core->enqueueJavaScriptCommand(kCommand);
        PlainWebKitView::turnMainContextUntil(constants->received);
        return !constants->empty;
    }
    // The command as our view hands it to the page.
    void roundTripAnchor() {
        plain.evaluateUntilMessage(ZADAdView::JSCommandForAsynchronousScript(kCommand).c_str());
    }

    std::unique_ptr<AdServerThread> server;
    PlainWebKitView plain;
    std::shared_ptr<ZADSDKCoreWebView> core = ZADSDKCoreWebView::init();
    std::shared_ptr<ConstantsReceived> constants = std::make_shared<ConstantsReceived>();
};

void BM_SDKCoreWebViewLoadToReady(benchmark::State& state) {
    CorePages pages;
    if (!pages.start(state)) {
        return;
    }
    bool loaded = true;
    state.counters["vsWebKit"] = timeSideBySide(
        state, [&] { loaded = pages.loadOurs() && loaded; }, [&] { pages.loadAnchor(); });
    if (!loaded) {
        state.SkipWithError("the core page did not load in our web view");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SDKCoreWebViewLoadToReady)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

void BM_SDKCoreWebViewZMSGRoundTrip(benchmark::State& state) {
    CorePages pages;
    if (!pages.start(state)) {
        return;
    }
    bool allReceived = true;
    state.counters["vsWebKit"] = timeSideBySide(
        state, [&] { allReceived = pages.roundTripOurs() && allReceived; },
        [&] { pages.roundTripAnchor(); });
    if (!allReceived) {
        state.SkipWithError("the page's constants came empty");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SDKCoreWebViewZMSGRoundTrip)->Unit(benchmark::kMicrosecond)->MinTime(2)->UseRealTime();

} // namespace
