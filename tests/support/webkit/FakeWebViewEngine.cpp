#include "tests/support/webkit/FakeWebViewEngine.h"

#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/webkit/UIWebView.h"

#include <cstring>

namespace {
FakeWebViewEngine* latestEngine = nullptr;
} // namespace

void FakeWebViewEngine::install() {
    latestEngine = nullptr;
    UIWebView::setEngineFactory(
        [](WebViewEngineClient& client) -> ErrorOr<std::unique_ptr<WebViewEngine>> {
            auto engine = std::unique_ptr<FakeWebViewEngine>(new FakeWebViewEngine(client));
            latestEngine = engine.get();
            return std::unique_ptr<WebViewEngine>(std::move(engine));
        });
}

FakeWebViewEngine* FakeWebViewEngine::latest() {
    return latestEngine;
}

bool FakeWebViewEngine::navigate(const std::string& url, UIWebViewNavigationType type,
                                 bool mainFrame) {
    if (!client_.engineShouldStartNavigation(
            NSURLRequest::requestWithURL(NSURL::URLWithString(url)), type)) {
        return false;
    }
    if (mainFrame) {
        loading_ = true;
        url_ = url;
        client_.engineDidStartLoad(url);
    }
    return true;
}

void FakeWebViewEngine::finishLoad() {
    loading_ = false;
    client_.engineDidFinishLoad(url_);
}

void FakeWebViewEngine::failLoad(const std::shared_ptr<NSError>& error) {
    loading_ = false;
    client_.engineDidFailLoad(error);
}

void FakeWebViewEngine::loadHTMLStringBaseURL(const std::string&, const std::string& baseURL) {
    calls.push_back("html " + baseURL);
    navigate(baseURL.empty() ? "about:blank" : baseURL, UIWebViewNavigationType::Other);
}

void FakeWebViewEngine::loadRequest(const NSURLRequest& request) {
    calls.push_back("request " + request.URL()->absoluteString());
    navigate(request.URL()->absoluteString(), UIWebViewNavigationType::Other);
}

FakeWebViewEngine::~FakeWebViewEngine() {
    if (latestEngine == this) {
        latestEngine = nullptr;
    }
    for (auto& held : heldAnswers_) {
        NSRunLoop::mainRunLoop().postTask([completion = std::move(held.completion)] {
            completion(makeError("FakeWebViewEngine", 1, "the page went away"));
        });
    }
}

void FakeWebViewEngine::evaluateJavaScript(const std::string& script, ScriptCompletion completion) {
    scripts.push_back(script);
    if (holdAnswers) {
        heldAnswers_.push_back({std::move(completion), answer(script)});
    } else {
        NSRunLoop::mainRunLoop().postTask(
            [completion = std::move(completion), text = answer(script)] { completion(text); });
    }
}

void FakeWebViewEngine::releaseAnswers() {
    for (auto& held : heldAnswers_) {
        NSRunLoop::mainRunLoop().postTask([completion = std::move(held.completion),
                                           text = std::move(held.text)] { completion(text); });
    }
    heldAnswers_.clear();
}

void FakeWebViewEngine::takeSnapshot(bool, SnapshotCompletion completion) {
    ++snapshotRequests;
    auto width = static_cast<size_t>(size.width);
    auto height = static_cast<size_t>(size.height);
    auto alpha = static_cast<uint32_t>(pageColor.a * 255 + 0.5);
    auto channel = [&](double value) {
        return static_cast<uint32_t>(value * pageColor.a * 255 + 0.5);
    };
    uint32_t pixel =
        alpha << 24 | channel(pageColor.r) << 16 | channel(pageColor.g) << 8 | channel(pageColor.b);
    std::vector<uint8_t> pixels(width * height * 4);
    for (size_t i = 0; i < width * height; ++i) {
        std::memcpy(&pixels[i * 4], &pixel, 4);
    }
    auto image = CGImage::create(width, height, CGImagePixelFormat::ARGB32Premultiplied, width * 4,
                                 std::move(pixels));
    NSRunLoop::mainRunLoop().postTask(
        [completion = std::move(completion), image] { completion(image); });
}
