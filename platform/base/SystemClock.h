// Real time: a monotonic clock for timers and the wall clock for dates.
#pragma once

#include "platform/base/Clock.h"

class SystemClock : public Clock {
public:
    double monotonicNow() const override;
    double dateNow() const override;
};
