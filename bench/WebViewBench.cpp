// The web view on the real engine, side by side with WebKitGTK called directly (the
// anchor): a page load from the request to its end, and synchronous script round trips.
// The engine's process starts before the timing: only the work of each load or script
// counts. The ratio of each pair is what our layer costs.
#include "PlainWebKitView.h"
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSURL.h"
#include "platform/webkit/UIWebView.h"

#include <benchmark/benchmark.h>

namespace {

constexpr const char* kPage =
    "<title>bench</title><body style='margin:0'><h1>Page</h1><p>Some text.</p>"
    "<div style='width:100px;height:100px;background:#f00'></div></body>";
constexpr const char* kBase = "http://127.0.0.1:1/bench/";

class FinishCounter : public UIWebViewDelegate {
public:
    void webViewDidFinishLoad(UIWebView&) override { finished = true; }
    void webViewDidFailLoadWithError(UIWebView&, const std::shared_ptr<NSError>&) override {
        finished = true;
    }
    bool finished = false;
};

// A web view with one page loaded, so that the engine's process runs.
struct LoadedWebView {
    LoadedWebView() {
        NSRunLoop::mainRunLoop();
        view->setDelegate(delegate);
        load();
    }
    void load() {
        delegate->finished = false;
        view->loadHTMLStringBaseURL(kPage, NSURL::URLWithString(kBase));
        PlainWebKitView::turnMainContextUntil(delegate->finished);
    }
    std::shared_ptr<UIWebView> view = UIWebView::initWithFrame(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<FinishCounter> delegate = std::make_shared<FinishCounter>();
};

void BM_UIWebViewPageLoad(benchmark::State& state) {
    LoadedWebView loaded;
    for (auto _ : state) {
        loaded.load();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UIWebViewPageLoad)->Unit(benchmark::kMillisecond)->MinTime(2);

// WebKit's own view with the page loaded; false, with the benchmark skipped, when there
// is no display to make it on.
bool loadPlain(PlainWebKitView& plain, benchmark::State& state) {
    if (!plain.view()) {
        state.SkipWithError("no display for WebKit");
        return false;
    }
    plain.loadHTML(kPage, kBase);
    return true;
}

void BM_WebKitPageLoad(benchmark::State& state) {
    PlainWebKitView plain;
    if (!loadPlain(plain, state)) {
        return;
    }
    for (auto _ : state) {
        plain.loadHTML(kPage, kBase);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WebKitPageLoad)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_UIWebViewScriptRoundTrip(benchmark::State& state) {
    LoadedWebView loaded;
    for (auto _ : state) {
        benchmark::DoNotOptimize(loaded.view->stringByEvaluatingJavaScriptFromString("1 + 1"));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UIWebViewScriptRoundTrip)->Unit(benchmark::kMicrosecond)->MinTime(2);

void BM_WebKitScriptRoundTrip(benchmark::State& state) {
    PlainWebKitView plain;
    if (!loadPlain(plain, state)) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(plain.evaluate("1 + 1"));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WebKitScriptRoundTrip)->Unit(benchmark::kMicrosecond)->MinTime(2);

} // namespace
