#include "platform/base/NSObject.h"

std::string NSObject::description() const {
    return "<" + className() + ">";
}

std::shared_ptr<NSObject> NSObject::associatedObject(const std::string& key) const {
    if (!associated_) {
        return nullptr;
    }
    auto found = associated_->find(key);
    return found == associated_->end() ? nullptr : found->second;
}

void NSObject::setAssociatedObject(const std::string& key, std::shared_ptr<NSObject> value) {
    if (!value) {
        if (associated_) {
            associated_->erase(key);
        }
        return;
    }
    if (!associated_) {
        associated_ = std::make_unique<std::map<std::string, std::shared_ptr<NSObject>>>();
    }
    (*associated_)[key] = std::move(value);
}

std::string NSDescription(const NSObject* object) {
    return object ? object->description() : std::string("(null)");
}
