#include "services/ServicesClasses.h"

#include "ads/core/ZADCoreClasses.h"
#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIKitClasses.h"
#include "services/advertise/AdServerHost.h"
#include "services/advertise/CVAdvertiseController.h"
#include "services/rateprompt/RatePrompt.h"
#include "services/rateprompt/RatePromptStoreLookup.h"

void registerServicesClasses() {
    registerUIKitClasses();
    // The ad engine below the services finds its stored requests' classes by name.
    registerAdsCoreClasses();
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<AdServerHost, NSObject>();
    registry.add<CVAdvertiseController, NSObject>();
    registry.add<RatePrompt, NSObject>();
    registry.add<RatePromptStoreLookup, NSObject>();
}
