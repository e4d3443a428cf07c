#include "ads/signals/ZADWeakReference.h"

#include "platform/foundation/NSString.h"

ZADWeakReference::ZADWeakReference(const std::shared_ptr<NSObject>& object)
    : weakObject_(object), uniqueID_(reinterpret_cast<uintptr_t>(object.get())) {}

std::shared_ptr<ZADWeakReference>
ZADWeakReference::initWithObject(const std::shared_ptr<NSObject>& object) {
    if (!object) {
        return nullptr;
    }
    return make<ZADWeakReference>(object);
}

bool ZADWeakReference::isEqual(const NSObject& other) const {
    const auto* reference = dynamic_cast<const ZADWeakReference*>(&other);
    return reference && reference->uniqueID_ == uniqueID_;
}

std::string ZADWeakReference::description() const {
    return NSString::stringWithFormat("<%@: 0x%lx weakObject:%@ uniqueID:0x%lx>", className(),
                                      reinterpret_cast<uintptr_t>(this), weakObject(), uniqueID_);
}

bool ZADWeakReference::setContainsObject(const Set& set, const std::shared_ptr<NSObject>& object) {
    auto reference = initWithObject(object);
    return reference && set.contains(reference);
}

size_t
ZADWeakReference::Hash::operator()(const std::shared_ptr<ZADWeakReference>& reference) const {
    return reference ? reference->hash() : 0;
}

bool ZADWeakReference::Equal::operator()(const std::shared_ptr<ZADWeakReference>& a,
                                         const std::shared_ptr<ZADWeakReference>& b) const {
    return a && b ? a->isEqual(*b) : a == b;
}
