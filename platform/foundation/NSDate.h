// A point in time, as seconds since 2001-01-01 00:00:00 UTC; "now" comes from the Clock.
#pragma once

#include "platform/base/Clock.h"

#include <string>

struct NSDate {
    double timeIntervalSinceReferenceDate = 0;

    static NSDate date();
    static NSDate dateWithTimeIntervalSinceNow(double seconds);
    static NSDate dateWithTimeIntervalSince1970(double seconds);
    static constexpr double kTimeIntervalSince1970 = Clock::kReferenceDateSince1970;

    double timeIntervalSinceNow() const;
    double timeIntervalSinceDate(const NSDate& other) const {
        return timeIntervalSinceReferenceDate - other.timeIntervalSinceReferenceDate;
    }
    double timeIntervalSince1970() const {
        return timeIntervalSinceReferenceDate + kTimeIntervalSince1970;
    }
    NSDate dateByAddingTimeInterval(double seconds) const {
        return NSDate{timeIntervalSinceReferenceDate + seconds};
    }
    // "2026-12-10 13:03:36 +0000", as the platform describes dates.
    std::string description() const;

    friend auto operator<=>(const NSDate&, const NSDate&) = default;
};
