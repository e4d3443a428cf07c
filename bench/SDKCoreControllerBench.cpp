// An ad URL request answered through the core controller, on the real engine, against our
// ad server in-process on loopback with its core page already loaded: from buildAdURL to
// the page's answer reaching the one that asked, on the main thread. Side by side with
// the anchor: WebKitGTK's own view on the same page, running the page's entry point with
// the same parameters and catching the answer's zmsg navigation. Wall-clock times, since
// the page works in a process of its own; "vsWebKit" is our time over the anchor's.
#include "BundledAdServer.h"
#include "PlainWebKitView.h"
#include "SideBySide.h"
#include "ads/core/ZADSDKCoreController.h"
#include "ads/core/ZADSDKCoreControllerDelegate.h"
#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADAdView.h"
#include "adserver/AdServer.h"
#include "platform/base/NSRunLoop.h"

#include <benchmark/benchmark.h>

namespace {

constexpr const char* kUnit = "default";

// Asks for the unit's ad URL and notes the answer.
class AnsweredLoader : public ZADSDKCoreControllerDelegate {
public:
    std::shared_ptr<ZADCSITimeRecorder> adLoadActionTimeRecorder() override { return nullptr; }
    std::optional<PlistValue::Dictionary> requestParameters() override {
        return PlistValue::Dictionary{{"request_id", requestID_}, {"slotname", kUnit}};
    }
    long requestedAdType() override { return kBannerAd; }
    void setRequestID(const std::string& id) override { requestID_ = id; }
    std::string requestID() const override { return requestID_; }
    void loadAdURLWithParameters(const MessageParameters& parameters) override {
        gotURL = parameters.contains("url");
        answered = true;
    }
    void loadAdHeaders(const std::shared_ptr<ZADAd>&, const PlistValue::Dictionary&) override {
        answered = true;
    }
    void invalidJavaScriptRequest() override { answered = true; }
    void failedJavaScriptFile() override { answered = true; }
    void adURLRequestDidFailWithError(const std::shared_ptr<NSError>&) override { answered = true; }

    // One request, until its answer.
    bool askAndWait() {
        answered = gotURL = false;
        requestID_.clear(); // a new ask
        ZADSDKCoreController::sharedInstance()->buildAdURL(self_.lock());
        PlainWebKitView::turnMainContextUntil(answered);
        return gotURL;
    }
    static std::shared_ptr<AnsweredLoader> make() {
        auto loader = std::make_shared<AnsweredLoader>();
        loader->self_ = loader;
        return loader;
    }

    bool answered = false;
    bool gotURL = false;

private:
    std::string requestID_;
    std::weak_ptr<AnsweredLoader> self_;
};

void BM_SDKCoreControllerAdURLAnswered(benchmark::State& state) {
    const auto server = startBundledAdServer(state);
    if (!server) {
        return;
    }
    PlainWebKitView plain;
    if (!plain.view()) {
        state.SkipWithError("no display for WebKit");
        return;
    }
    NSRunLoop::mainRunLoop();
    ZADAdServer::setBaseURL(server->baseURL());
    auto loader = AnsweredLoader::make();
    // The first request loads the page and its constants.
    if (!loader->askAndWait()) {
        state.SkipWithError("the core page gave no ad URL");
        return;
    }
    plain.loadURI(server->baseURL() + AdServer::kCorePagePath);
    const std::string script = ZADAdView::JSCommandForAsynchronousScript(
        std::string(R"(ROZU_getAd({"request_id":"1","slotname":")") + kUnit + R"("});)");
    bool allAnswered = true;
    state.counters["vsWebKit"] = timeSideBySide(
        state, [&] { allAnswered = loader->askAndWait() && allAnswered; },
        [&] { plain.evaluateUntilMessage(script.c_str()); });
    if (!allAnswered) {
        state.SkipWithError("a request got no ad URL");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SDKCoreControllerAdURLAnswered)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->UseRealTime();

} // namespace
