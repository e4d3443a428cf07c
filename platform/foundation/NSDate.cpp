#include "platform/foundation/NSDate.h"

#include "platform/base/Clock.h"

#include <cmath>
#include <cstdio>
#include <ctime>

NSDate NSDate::date() {
    return NSDate{Clock::current().dateNow()};
}

NSDate NSDate::dateWithTimeIntervalSinceNow(double seconds) {
    return NSDate{Clock::current().dateNow() + seconds};
}

NSDate NSDate::dateWithTimeIntervalSince1970(double seconds) {
    return NSDate{seconds - kTimeIntervalSince1970};
}

double NSDate::timeIntervalSinceNow() const {
    return timeIntervalSinceReferenceDate - Clock::current().dateNow();
}

std::string NSDate::description() const {
    // Years 1 to 9999: what a calendar can show; a date read from a damaged file may be
    // anything, including not a number.
    constexpr double kEarliest = -62135596800.0;
    constexpr double kLatest = 253402300799.0;
    double since1970 = std::floor(timeIntervalSince1970());
    if (!(since1970 >= kEarliest)) {
        since1970 = kEarliest;
    } else if (since1970 > kLatest) {
        since1970 = kLatest;
    }
    time_t seconds = static_cast<time_t>(since1970);
    tm parts{};
    gmtime_r(&seconds, &parts);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d +0000", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}
