#include "platform/photos/PHObject.h"

std::string PHObject::description() const {
    return "<" + className() + " " + localIdentifier_ + ">";
}
