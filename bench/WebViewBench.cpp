// The web view on the real engine, side by side with WebKitGTK called directly (the
// anchor): a page load from the request to its end, and synchronous script round trips.
// The engine's process starts before the timing: only the work of each load or script
// counts. The ratio of each pair is what our layer costs.
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSURL.h"
#include "platform/webkit/UIWebView.h"
#include "platform/webkit/XvfbServer.h"

#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace {

constexpr const char* kPage =
    "<title>bench</title><body style='margin:0'><h1>Page</h1><p>Some text.</p>"
    "<div style='width:100px;height:100px;background:#f00'></div></body>";
constexpr const char* kBase = "http://127.0.0.1:1/bench/";

void turnMainContextUntil(const bool& done) {
    while (!done) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

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
        turnMainContextUntil(delegate->finished);
    }
    std::shared_ptr<UIWebView> view = UIWebView::initWithFrame(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<FinishCounter> delegate = std::make_shared<FinishCounter>();
};

// WebKit's own view in an off-screen window, as the engine under UIWebView makes it.
struct PlainWebKitView {
    PlainWebKitView() {
        if (XvfbServer::ensureDisplay().hasError() || !gtk_init_check(nullptr, nullptr)) {
            return;
        }
        window = gtk_offscreen_window_new();
        view = WEBKIT_WEB_VIEW(webkit_web_view_new());
        gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(view));
        gtk_window_resize(GTK_WINDOW(window), 320, 480);
        gtk_widget_show_all(window);
        g_signal_connect(view, "load-changed",
                         G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, bool* finished) {
                             *finished = *finished || event == WEBKIT_LOAD_FINISHED;
                         }),
                         &finished);
        load();
    }
    ~PlainWebKitView() {
        if (window) {
            gtk_widget_destroy(window);
        }
    }
    void load() {
        finished = false;
        webkit_web_view_load_html(view, kPage, kBase);
        turnMainContextUntil(finished);
    }
    std::string evaluate(const char* script) {
        struct Answer {
            bool arrived = false;
            std::string text;
        } answer;
        webkit_web_view_evaluate_javascript(
            view, script, -1, nullptr, nullptr, nullptr,
            [](GObject* source, GAsyncResult* result, gpointer data) {
                auto* answer = static_cast<Answer*>(data);
                JSCValue* value = webkit_web_view_evaluate_javascript_finish(
                    WEBKIT_WEB_VIEW(source), result, nullptr);
                if (value) {
                    char* text = jsc_value_to_string(value);
                    answer->text = text;
                    g_free(text);
                    g_object_unref(value);
                }
                answer->arrived = true;
            },
            &answer);
        turnMainContextUntil(answer.arrived);
        return answer.text;
    }
    GtkWidget* window = nullptr;
    WebKitWebView* view = nullptr;
    bool finished = false;
};

void BM_UIWebViewPageLoad(benchmark::State& state) {
    LoadedWebView loaded;
    for (auto _ : state) {
        loaded.load();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UIWebViewPageLoad)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_WebKitPageLoad(benchmark::State& state) {
    PlainWebKitView plain;
    if (!plain.view) {
        state.SkipWithError("no display for WebKit");
        return;
    }
    for (auto _ : state) {
        plain.load();
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
    if (!plain.view) {
        state.SkipWithError("no display for WebKit");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(plain.evaluate("1 + 1"));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WebKitScriptRoundTrip)->Unit(benchmark::kMicrosecond)->MinTime(2);

} // namespace
