#include "platform/base/Clock.h"

#include "platform/base/SystemClock.h"

#include <atomic>

namespace {
// Swapped whole, so a reader on another thread never sees a half-installed clock; the
// previous clock is kept alive by the readers that still hold it.
std::shared_ptr<Clock>& installed() {
    static std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
    return clock;
}
} // namespace

Clock& Clock::current() {
    return *std::atomic_load(&installed());
}

void Clock::setCurrent(std::shared_ptr<Clock> clock) {
    std::atomic_store(&installed(), clock ? std::move(clock) : std::make_shared<SystemClock>());
}
