// The core page's web view on the real engine, side by side with WebKitGTK called
// directly (the anchor), both on the same page served by a loopback server at the core
// page's path: the page's load from the request to ready (told to an observer, against
// WebKit's load finished), and zmsg round trips (a command in, the page's message out and
// parsed and handed to the controller's side, against a script whose navigation WebKit's
// own policy decision catches). The engine's process starts before the timing; times and
// rates are wall-clock, since the page works in a process of its own.
#include "PlainWebKitView.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADSDKCoreWebView.h"
#include "ads/render/ZADSDKCoreWebViewNotification.h"
#include "ads/render/ZADSDKCoreZMSGHandler.h"
#include "ads/render/ZADSDKCoreZMSGHandlerDelegate.h"
#include "platform/base/NSRunLoop.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <thread>

namespace {

constexpr const char* kCorePage = R"(<!doctype html>
<html><head><title>core</title><script>
function ROZU_getSdkConstants(params) {
  var pieces = [];
  for (var key in params) {
    pieces.push(encodeURIComponent(key) + '=' + encodeURIComponent(params[key]));
  }
  location.href = 'zmsg://core/loadSdkConstants?' + pieces.join('&');
}
</script></head><body><p>core</p></body></html>)";
constexpr const char* kCommand = R"(ROZU_getSdkConstants({"request_id": "1", "text": "a b"});)";

// The core page on 127.0.0.1 and a free port, served on a thread of its own.
class CorePageServer {
public:
    CorePageServer() {
        server_.Get(ZADSDKCoreWebView::kSDKCorePagePath,
                    [](const httplib::Request&, httplib::Response& response) {
                        response.set_content(kCorePage, "text/html");
                    });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) {
            std::this_thread::yield();
        }
    }
    ~CorePageServer() {
        server_.stop();
        thread_.join();
    }
    std::string baseURL() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = -1;
};

class Ready : public ZADSDKCoreWebViewNotification {
public:
    void didFinishLoadingSDKCoreInSDKCoreWebView(ZADSDKCoreWebView&) override { told = true; }
    bool told = false;
};

class MessageCounter : public ZADSDKCoreZMSGHandlerDelegate {
public:
    void sdkCoreZMSGHandlerDidLoadSDKConstants(ZADSDKCoreZMSGHandler&,
                                               const Parameters& constants) override {
        received = true;
    }
    bool received = false;
};

// A core web view on the server's page, loaded once.
struct LoadedCoreWebView {
    explicit LoadedCoreWebView(const CorePageServer& server) {
        NSRunLoop::mainRunLoop();
        ZADAdServer::setBaseURL(server.baseURL());
        webView->SDKCoreZMSGHandler()->setDelegate(counter);
        load();
    }
    bool load() {
        auto ready = std::make_shared<Ready>();
        webView->refreshSDKCoreAndNotifyObserver(ready);
        PlainWebKitView::turnMainContextUntil(ready->told);
        return webView->state() == ZADSDKCoreWebView::Loaded;
    }
    void roundTrip() {
        counter->received = false;
        webView->enqueueJavaScriptCommand(kCommand);
        PlainWebKitView::turnMainContextUntil(counter->received);
    }
    std::shared_ptr<ZADSDKCoreWebView> webView = ZADSDKCoreWebView::init();
    std::shared_ptr<MessageCounter> counter = std::make_shared<MessageCounter>();
};

void BM_SDKCoreWebViewLoadToReady(benchmark::State& state) {
    CorePageServer server;
    LoadedCoreWebView core(server);
    for (auto _ : state) {
        if (!core.load()) {
            state.SkipWithError("the core page did not load");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SDKCoreWebViewLoadToReady)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

void BM_WebKitCorePageLoad(benchmark::State& state) {
    CorePageServer server;
    PlainWebKitView plain;
    if (!plain.view()) {
        state.SkipWithError("no display for WebKit");
        return;
    }
    std::string url = server.baseURL() + ZADSDKCoreWebView::kSDKCorePagePath;
    plain.loadURI(url);
    for (auto _ : state) {
        plain.loadURI(url);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WebKitCorePageLoad)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

void BM_SDKCoreWebViewZMSGRoundTrip(benchmark::State& state) {
    CorePageServer server;
    LoadedCoreWebView core(server);
    for (auto _ : state) {
        core.roundTrip();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SDKCoreWebViewZMSGRoundTrip)->Unit(benchmark::kMicrosecond)->MinTime(2)->UseRealTime();

void BM_WebKitZMSGRoundTrip(benchmark::State& state) {
    CorePageServer server;
    PlainWebKitView plain;
    if (!plain.view()) {
        state.SkipWithError("no display for WebKit");
        return;
    }
    plain.loadURI(server.baseURL() + ZADSDKCoreWebView::kSDKCorePagePath);
    std::string script = std::string("setTimeout(function(){") + kCommand + "}, 1);";
    for (auto _ : state) {
        plain.evaluateUntilMessage(script.c_str());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WebKitZMSGRoundTrip)->Unit(benchmark::kMicrosecond)->MinTime(2)->UseRealTime();

} // namespace
