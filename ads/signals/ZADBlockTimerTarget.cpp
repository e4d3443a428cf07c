#include "ads/signals/ZADBlockTimerTarget.h"

std::shared_ptr<ZADBlockTimerTarget> ZADBlockTimerTarget::init() {
    return make<ZADBlockTimerTarget>();
}

void ZADBlockTimerTarget::timerFired(const std::shared_ptr<NSTimer>& timer) {
    if (block_) {
        block_(timer);
    }
}
