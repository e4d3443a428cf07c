#include "ads/core/ZADCoreClasses.h"

#include "ads/core/ZADExtras.h"
#include "ads/core/ZADRequest.h"
#include "ads/core/ZEZRequest.h"
#include "platform/base/ClassRegistry.h"

void registerAdsCoreClasses() {
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<ZADRequest, NSObject>();
    registry.add<ZEZRequest, ZADRequest>();
    registry.add<ZADExtras, NSObject>();
}
