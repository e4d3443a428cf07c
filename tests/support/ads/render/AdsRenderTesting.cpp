#include "tests/support/ads/render/AdsRenderTesting.h"

#include "ads/render/ZADAdServer.h"
#include "ads/render/ZADCSI.h"
#include "tests/support/TestIsolation.h"
#include "tests/support/ads/signals/AdsSignalsTesting.h"
#include "tests/support/webkit/WebKitTesting.h"

void setUpAdsRenderTesting() {
    setUpWebKitTesting();
    setUpAdsSignalsTesting();
    TestIsolation::addReset(&ZADAdServer::resetForTesting);
    TestIsolation::addReset(&ZADCSI::resetForTesting);
}
