// The engine's clock: milliseconds of the monotonic clock counted from its first reading
// in the process, that first reading being 1 (never 0, which callers take for "not yet").
// It reads the run loop's clock, so a test's mock clock moves it.
#pragma once

#include "platform/base/NSObject.h"

#include <cstdint>
#include <memory>

class NSNumber;

// The engine clock's reading; safe from any thread, lock-free after the first call.
uint64_t ZADMonotonicTimeInMilliseconds();

class ZADAbsoluteTime : public NSObject {
    NS_OBJECT(ZADAbsoluteTime)
public:
    // ZADMonotonicTimeInMilliseconds() as an unsigned number.
    static std::shared_ptr<NSNumber> absoluteTimeInMilliseconds();

    // The next reading is again the first one (between tests, which change clocks).
    static void resetForTesting();

private:
    ZADAbsoluteTime() = default;
};
