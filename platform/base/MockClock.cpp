#include "platform/base/MockClock.h"

#include <cstdio>

MockClock::MockClock(double monotonicNow, double dateNow)
    : monotonicNow_(monotonicNow), dateNow_(dateNow) {}

double MockClock::monotonicNow() const {
    std::lock_guard lock(mutex_);
    return monotonicNow_;
}

double MockClock::dateNow() const {
    std::lock_guard lock(mutex_);
    return dateNow_;
}

void MockClock::advance(double seconds) {
    if (!(seconds >= 0)) {
        std::fprintf(stderr, "MockClock: ignoring a step of %g s (time only moves forward)\n",
                     seconds);
        return;
    }
    std::lock_guard lock(mutex_);
    monotonicNow_ += seconds;
    dateNow_ += seconds;
}

void MockClock::setDateNow(double dateNow) {
    std::lock_guard lock(mutex_);
    dateNow_ = dateNow;
}
