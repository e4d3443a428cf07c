// What a test program of web views sets up once at start: UIKit's and the web view's
// classes are registered, and around every test web views go back to the real engine and
// the default script time limit.
#pragma once

#include <functional>

void setUpWebKitTesting();

// Turns GLib's main context (where the real engine answers) until `done`, for at most
// `seconds` of real time: the engine's web process keeps its own time, so tests of the
// real engine wait for it, with a limit. True when `done` came.
bool waitForWebKit(const std::function<bool()>& done, double seconds = 30);
