#include "tests/support/ads/core/AdsCoreTesting.h"

#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADCoreClasses.h"
#include "ads/core/ZADSDKCoreController.h"
#include "ads/core/ZADSlot.h"
#include "ads/core/ZADURLConnection.h"
#include "ads/render/ZADMRAIDInterceptor.h"
#include "ads/signals/ZADApplication.h"
#include "tests/support/TestIsolation.h"
#include "tests/support/ads/render/AdsRenderTesting.h"
#include "tests/support/ads/signals/AdsSignalsTesting.h"

void setUpAdsCoreTesting() {
    setUpAdsRenderTesting();
    setUpAdsSignalsTesting();
    registerAdsCoreClasses();
    TestIsolation::addReset(&ZADApplication::resetForTesting);
    TestIsolation::addReset(&ZADMRAIDInterceptor::resetForTesting);
    TestIsolation::addReset(&ZADSDKCoreController::resetForTesting);
    TestIsolation::addReset(&ZADSlot::resetForTesting);
    TestIsolation::addReset(&ZADAdFetcher::resetForTesting);
    TestIsolation::addReset(&ZADURLConnection::clearCache);
}
