// The time source of the run loop, timers and dates. Real time in the program; tests
// install a MockClock so that timers and dates move only when the test says so.
#pragma once

#include <memory>

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds of a monotonic clock: what timers and delays are measured on.
    virtual double monotonicNow() const = 0;
    // Seconds since 2001-01-01 00:00:00 UTC: what dates are made of.
    virtual double dateNow() const = 0;
    // Where dates count from, in seconds after 1970-01-01 00:00:00 UTC.
    static constexpr double kReferenceDateSince1970 = 978307200.0;

    // The clock in force (a SystemClock until another is installed).
    static Clock& current();
    static void setCurrent(std::shared_ptr<Clock> clock);
    // Back to the system clock (between tests).
    static void resetForTesting() { setCurrent(nullptr); }
};
