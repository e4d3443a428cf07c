#include "ads/signals/ZADAbsoluteTime.h"

#include "platform/base/Clock.h"
#include "platform/foundation/NSNumber.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

// The clock's reading at the first use, in seconds; NaN until then. Set once by whichever
// thread reads first; the others take its value.
std::atomic<double>& base() {
    static std::atomic<double> value{std::nan("")};
    return value;
}

} // namespace

uint64_t ZADMonotonicTimeInMilliseconds() {
    double now = Clock::current().monotonicNow();
    double start = base().load(std::memory_order_acquire);
    if (std::isnan(start)) {
        // When another thread was first, `expected` comes back holding its reading.
        double expected = start;
        start = base().compare_exchange_strong(expected, now, std::memory_order_acq_rel) ? now
                                                                                         : expected;
    }
    // A clock swapped under us (tests) must not make the elapsed time negative, nor any
    // clock a count too large for 64 bits: neither converts to an unsigned count.
    double elapsed = now > start ? now - start : 0.0;
    return static_cast<uint64_t>(std::min(elapsed * 1000.0 + 1.0, 1.8e19));
}

std::shared_ptr<NSNumber> ZADAbsoluteTime::absoluteTimeInMilliseconds() {
    return NSNumber::numberWithUnsignedLongLong(ZADMonotonicTimeInMilliseconds());
}

void ZADAbsoluteTime::resetForTesting() {
    base().store(std::nan(""), std::memory_order_release);
}
