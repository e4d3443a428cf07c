#include "platform/base/SystemClock.h"

#include <chrono>

double SystemClock::monotonicNow() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double SystemClock::dateNow() const {
    using namespace std::chrono;
    double since1970 = duration<double>(system_clock::now().time_since_epoch()).count();
    return since1970 - kReferenceDateSince1970;
}
