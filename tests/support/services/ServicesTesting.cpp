#include "tests/support/services/ServicesTesting.h"

#include "services/ServicesClasses.h"
#include "services/advertise/AdServerHost.h"
#include "services/advertise/CVAdvertiseController.h"
#include "services/rateprompt/RatePrompt.h"
#include "tests/support/TestIsolation.h"

void setUpServicesTesting() {
    registerServicesClasses();
    TestIsolation::addReset([] {
        RatePrompt::resetForTesting();
        CVAdvertiseController::resetForTesting();
        AdServerHost::resetForTesting();
    });
}
