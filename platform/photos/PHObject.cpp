#include "platform/photos/PHObject.h"

#include "platform/foundation/NSString.h"

std::string PHObject::description() const {
    return NSString::stringWithFormat("<%@ %@>", className(), localIdentifier_);
}
