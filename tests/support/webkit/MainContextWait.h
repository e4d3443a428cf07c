// How tests of the real engine wait for it: the engine works in a process of its own, in
// real time, and answers through GLib's default main context (where the run loop's tasks
// run too). Turns that context until `done`, for at most `seconds` of real time; whether
// `done` came. The limit is generous: it only keeps a broken engine from hanging a test.
#pragma once

#include <glib.h>

#include <functional>

inline bool turnMainContextUntil(const std::function<bool()>& done, double seconds = 30) {
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
