#include "tests/support/ads/core/AdsCoreTesting.h"

#include "ads/core/ZADCoreClasses.h"
#include "ads/signals/ZADApplication.h"
#include "tests/support/TestIsolation.h"
#include "tests/support/ads/signals/AdsSignalsTesting.h"

void setUpAdsCoreTesting() {
    setUpAdsSignalsTesting();
    registerAdsCoreClasses();
    TestIsolation::addReset(&ZADApplication::resetForTesting);
}
