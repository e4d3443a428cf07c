#include "app/categories/UIDevice+SystemVersion.h"

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIDevice.h"

namespace SystemVersion {
double iosVersion() {
    return NSString::floatValue(UIDevice::currentDevice()->systemVersion());
}
} // namespace SystemVersion
