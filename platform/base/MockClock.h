// A clock that only moves when told: tests install it so that timers, delays and dates
// are driven deterministically (see the tests' task environment).
#pragma once

#include "platform/base/Clock.h"

#include <mutex>

class MockClock : public Clock {
public:
    static constexpr double kDefaultMonotonicNow = 1000.0;
    // 2026-01-01 00:00:00 UTC, as seconds since 2001-01-01.
    static constexpr double kDefaultDateNow = 788918400.0;

    explicit MockClock(double monotonicNow = kDefaultMonotonicNow,
                       double dateNow = kDefaultDateNow);

    double monotonicNow() const override;
    double dateNow() const override;

    // Moves the monotonic clock and the date together; time never runs backwards, so a
    // negative step is ignored.
    void advance(double seconds);
    // Sets the date alone (as the user changing the device's clock would).
    void setDateNow(double dateNow);

private:
    mutable std::mutex mutex_;
    double monotonicNow_;
    double dateNow_;
};
