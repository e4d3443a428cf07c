#include "tests/support/ads/signals/AdsSignalsTesting.h"

#include "ads/signals/ZADAbsoluteTime.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADDevice.h"
#include "ads/signals/ZADMobileAds.h"
#include "ads/signals/ZADPinger.h"
#include "platform/adsupport/ASIdentifierManager.h"
#include "platform/systemconfiguration/SCNetworkReachability.h"
#include "tests/support/TestIsolation.h"

void setUpAdsSignalsTesting() {
    TestIsolation::addReset([] {
        // Nothing a test forgets to point at this machine looks its name up.
        SCNetworkReachability::setLoopbackOnly(true);
        ZADApplication::resetForTesting();
        ZADPinger::resetForTesting();
        ZADDevice::resetForTesting();
        ZADMobileAds::resetForTesting();
        ASIdentifierManager::resetForTesting();
        ZADAbsoluteTime::resetForTesting();
    });
}
