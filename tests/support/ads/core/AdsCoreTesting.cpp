#include "tests/support/ads/core/AdsCoreTesting.h"

#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADAdURLStash.h"
#include "ads/core/ZADCoreClasses.h"
#include "ads/core/ZADSDKCoreController.h"
#include "ads/core/ZADSlot.h"
#include "ads/core/ZADURLConnection.h"
#include "ads/render/ZADMRAIDInterceptor.h"
#include "tests/support/TestIsolation.h"
#include "tests/support/ads/render/AdsRenderTesting.h"

void setUpAdsCoreTesting() {
    setUpAdsRenderTesting();
    registerAdsCoreClasses();
    TestIsolation::addReset(&ZADMRAIDInterceptor::resetForTesting);
    TestIsolation::addReset(&ZADSDKCoreController::resetForTesting);
    TestIsolation::addReset(&ZADSlot::resetForTesting);
    TestIsolation::addReset(&ZADAdFetcher::resetForTesting);
    TestIsolation::addReset(&ZADAdURLStash::resetForTesting);
    TestIsolation::addReset(&ZADURLConnection::clearCache);
}
