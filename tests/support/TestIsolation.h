// Puts every process-wide object back as a fresh process would have it, before and after
// each test, so that a test binary runs whole, in any order, as often as asked: the run
// loop, the thread pool and the clock, the singletons of the platform (defaults,
// notifications, bundles, fonts, pasteboard, photo library, application, screen ...) and
// those of the app and its services. The main bundle is the built app bundle, and URL
// loads reach this machine only.
#pragma once

#include <gtest/gtest.h>

class TestIsolation : public ::testing::EmptyTestEventListener {
public:
    static void resetProcessState();

private:
    void OnTestStart(const ::testing::TestInfo&) override { resetProcessState(); }
    void OnTestEnd(const ::testing::TestInfo&) override { resetProcessState(); }
};
