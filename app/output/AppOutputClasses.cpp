#include "app/output/AppOutputClasses.h"

#include "app/output/MixImageOutput.h"
#include "app/widgets/AppWidgetsClasses.h"
#include "platform/base/ClassRegistry.h"

void registerAppOutputClasses() {
    registerAppWidgetsClasses();
    ClassRegistry::shared().add<MixImageOutput, NSObject>();
}
