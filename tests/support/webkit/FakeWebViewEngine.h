// A scripted web-view engine: the test plays the page (its navigations, loads, changes and
// script answers) and sees what the view asked of the engine. Answers and pictures come
// as run-loop tasks, as a real engine's come as events of the same main context.
#pragma once

#include "platform/graphics/CGColor.h"
#include "platform/webkit/WebViewEngine.h"
#include "platform/webkit/WebViewEngineClient.h"

#include <functional>
#include <string>
#include <vector>

class FakeWebViewEngine : public WebViewEngine {
public:
    // Makes every new web view's engine a fake; the last one made since is `latest()`,
    // null while none was made (or the last one is gone).
    static void install();
    static FakeWebViewEngine* latest();

    // The page starts a navigation: the client decides; an allowed one of the main frame
    // starts loading. Whether it was allowed.
    bool navigate(const std::string& url, UIWebViewNavigationType type, bool mainFrame = true);
    void finishLoad();
    void failLoad(const std::shared_ptr<NSError>& error);
    void changeContent(const CGSize& size) { client_.engineContentDidChange(size); }

    // As the real engine: a script still waiting for its answer hears an error.
    ~FakeWebViewEngine() override;

    // How the page answers scripts (by default with the script's own text); held answers
    // wait for releaseAnswers.
    std::function<std::string(const std::string&)> answer = [](const std::string& s) { return s; };
    bool holdAnswers = false;
    void releaseAnswers();
    // The colour every picture of the page is filled with.
    CGColor pageColor = CGColorMake(1, 0, 0, 1);

    // What the view asked.
    std::vector<std::string> scripts;
    std::vector<std::string> calls;
    int snapshotRequests = 0;
    CGSize size{};

    void loadHTMLStringBaseURL(const std::string& html, const std::string& baseURL) override;
    void loadRequest(const NSURLRequest& request) override;
    void stopLoading() override { calls.push_back("stop"); }
    void reload() override { calls.push_back("reload"); }
    void goBack() override { calls.push_back("back"); }
    void goForward() override { calls.push_back("forward"); }
    bool canGoBack() const override { return false; }
    bool canGoForward() const override { return false; }
    bool isLoading() const override { return loading_; }
    void evaluateJavaScript(const std::string& script, ScriptCompletion completion) override;
    void setSize(const CGSize& newSize) override { size = newSize; }
    void takeSnapshot(bool opaque, SnapshotCompletion completion) override;

private:
    explicit FakeWebViewEngine(WebViewEngineClient& client) : client_(client) {}

    WebViewEngineClient& client_;
    bool loading_ = false;
    std::string url_;
    struct HeldAnswer {
        ScriptCompletion completion;
        std::string text;
    };
    std::vector<HeldAnswer> heldAnswers_;
};
