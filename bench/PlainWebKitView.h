// WebKitGTK's own web view in an off-screen window, as the engine under UIWebView makes
// it: the anchor the web-view benchmarks measure our layers against. Navigations to the
// "zmsg" scheme are ignored and counted, as a page's messages are by our web views.
#pragma once

#include <string>

typedef struct _GtkWidget GtkWidget;
typedef struct _WebKitWebView WebKitWebView;

class PlainWebKitView {
public:
    // `view()` is null when no display could be had.
    PlainWebKitView();
    ~PlainWebKitView();
    PlainWebKitView(const PlainWebKitView&) = delete;
    PlainWebKitView& operator=(const PlainWebKitView&) = delete;

    WebKitWebView* view() const { return view_; }

    // Turns GLib's default main context (where WebKit and the run loop dispatch) until
    // `done`.
    static void turnMainContextUntil(const bool& done);

    // Each returns when the load has finished.
    void loadHTML(const char* html, const char* baseURI);
    void loadURI(const std::string& uri);
    // The script's result as text, once it has come.
    std::string evaluate(const char* script);
    // Runs the script and returns when the page has asked for one more zmsg navigation.
    void evaluateUntilMessage(const char* script);

private:
    GtkWidget* window_ = nullptr;
    WebKitWebView* view_ = nullptr;
    bool finished_ = false;
    long messages_ = 0;
};
