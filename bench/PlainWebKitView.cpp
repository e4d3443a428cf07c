#include "PlainWebKitView.h"

#include "platform/webkit/XvfbServer.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace {

gboolean decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                      long* messages) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) {
        return FALSE;
    }
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (uri && g_str_has_prefix(uri, "zmsg:")) {
        ++*messages;
        webkit_policy_decision_ignore(decision);
        return TRUE;
    }
    return FALSE;
}

} // namespace

void PlainWebKitView::turnMainContextUntil(const bool& done) {
    while (!done) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

PlainWebKitView::PlainWebKitView() {
    if (XvfbServer::ensureDisplay().hasError() || !gtk_init_check(nullptr, nullptr)) {
        return;
    }
    window_ = gtk_offscreen_window_new();
    view_ = WEBKIT_WEB_VIEW(webkit_web_view_new());
    gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(view_));
    gtk_window_resize(GTK_WINDOW(window_), 320, 480);
    gtk_widget_show_all(window_);
    g_signal_connect(view_, "load-changed",
                     G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, bool* finished) {
                         *finished = *finished || event == WEBKIT_LOAD_FINISHED;
                     }),
                     &finished_);
    g_signal_connect(view_, "decide-policy", G_CALLBACK(decidePolicy), &messages_);
}

PlainWebKitView::~PlainWebKitView() {
    if (window_) {
        gtk_widget_destroy(window_);
    }
}

void PlainWebKitView::loadHTML(const char* html, const char* baseURI) {
    finished_ = false;
    webkit_web_view_load_html(view_, html, baseURI);
    turnMainContextUntil(finished_);
}

void PlainWebKitView::loadURI(const std::string& uri) {
    finished_ = false;
    webkit_web_view_load_uri(view_, uri.c_str());
    turnMainContextUntil(finished_);
}

std::string PlainWebKitView::evaluate(const char* script) {
    struct Answer {
        bool arrived = false;
        std::string text;
    } answer;
    webkit_web_view_evaluate_javascript(
        view_, script, -1, nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* answer = static_cast<Answer*>(data);
            JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source),
                                                                         result, nullptr);
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

void PlainWebKitView::evaluateUntilMessage(const char* script) {
    long before = messages_;
    evaluate(script);
    while (messages_ == before) {
        g_main_context_iteration(nullptr, TRUE);
    }
}
