#include "platform/base/NSObject.h"

std::string NSObject::description() const {
    return "<" + className() + ">";
}

std::string NSDescription(const NSObject* object) {
    return object ? object->description() : std::string("(null)");
}
