#include "tests/support/ads/signals/AdsSignalsTesting.h"

#include "ads/signals/ZADAbsoluteTime.h"
#include "tests/support/TestIsolation.h"

void setUpAdsSignalsTesting() {
    TestIsolation::addReset([] { ZADAbsoluteTime::resetForTesting(); });
}
