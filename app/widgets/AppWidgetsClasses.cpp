#include "app/widgets/AppWidgetsClasses.h"

#include "app/widgets/CCDropdownTitleView.h"
#include "app/widgets/DMDropdownView.h"
#include "app/widgets/OVBarProgressView.h"
#include "app/widgets/OVProgressHUD.h"
#include "app/widgets/OVRoundProgressView.h"
#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIKitClasses.h"

void registerAppWidgetsClasses() {
    registerUIKitClasses();
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<CCDropdownTitleView, UIControl>();
    registry.add<DMDropdownView, NSObject>();
    registry.add<OVBarProgressView, UIView>();
    registry.add<OVProgressHUD, UIView>();
    registry.add<OVRoundProgressView, UIView>();
}
