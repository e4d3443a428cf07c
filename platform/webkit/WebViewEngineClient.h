// What a web-view engine tells the view it works for. All calls come on the main thread.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/webkit/UIWebViewDelegate.h"

#include <memory>
#include <string>

class NSError;
class NSURLRequest;

class WebViewEngineClient {
public:
    virtual ~WebViewEngineClient() = default;
    // Before every navigation of the page or one of its frames, before anything of it is
    // fetched; false stops it for good. The request carries the User-Agent it will be
    // fetched with.
    virtual bool engineShouldStartNavigation(const std::shared_ptr<NSURLRequest>& request,
                                             UIWebViewNavigationType type) = 0;
    // The page's own load (not its frames') started, at `url`.
    virtual void engineDidStartLoad(const std::string& url) = 0;
    // The page's load ended well; `url` is where it ended up after redirects.
    virtual void engineDidFinishLoad(const std::string& url) = 0;
    virtual void engineDidFailLoad(const std::shared_ptr<NSError>& error) = 0;
    // The page's content changed (or was first laid out); `contentSize` is its document's
    // size in points.
    virtual void engineContentDidChange(const CGSize& contentSize) = 0;
};
