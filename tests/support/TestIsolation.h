// Puts every process-wide object back as a fresh process would have it, before and after
// each test, so that a test binary runs whole, in any order, as often as asked: the run
// loop, the thread pool and the clock, the singletons of the platform (defaults,
// notifications, bundles, fonts, pasteboard, photo library, application, screen ...) and,
// through the resets their test set-ups add, those of the layers above (the harness, the
// services, the app). The main bundle is the built app bundle, and URL loads reach this
// machine only.
#pragma once

#include <gtest/gtest.h>

#include <functional>

class TestIsolation : public ::testing::EmptyTestEventListener {
public:
    static void resetProcessState();
    // A reset of a layer above the platform; the last added runs first, since higher
    // layers hold on to the objects of those below.
    static void addReset(std::function<void()> reset);

private:
    void OnTestStart(const ::testing::TestInfo&) override { resetProcessState(); }
    void OnTestEnd(const ::testing::TestInfo&) override { resetProcessState(); }
};
