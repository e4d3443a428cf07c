#include "tests/support/webkit/WebKitTesting.h"

#include "platform/uikit/UIKitClasses.h"
#include "platform/webkit/UIWebView.h"
#include "platform/webkit/WebKitClasses.h"
#include "tests/support/TestIsolation.h"

#include <glib.h>

void setUpWebKitTesting() {
    registerUIKitClasses();
    registerWebKitClasses();
    TestIsolation::addReset(&UIWebView::resetForTesting);
}

bool waitForWebKit(const std::function<bool()>& done, double seconds) {
    gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(seconds * 1e6);
    GSource* tick = g_timeout_source_new(100); // wakes the loop to look at the deadline
    g_source_set_callback(
        tick, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr, nullptr);
    g_source_attach(tick, nullptr);
    while (!done() && g_get_monotonic_time() < deadline) {
        g_main_context_iteration(nullptr, TRUE);
    }
    g_source_destroy(tick);
    g_source_unref(tick);
    return done();
}
