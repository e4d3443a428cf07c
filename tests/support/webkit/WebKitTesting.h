// What a test program of web views sets up once at start: UIKit's and the web view's
// classes are registered, and around every test web views go back to the real engine and
// the default script time limit.
#pragma once

void setUpWebKitTesting();
