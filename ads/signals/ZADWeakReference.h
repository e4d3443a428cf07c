// A weak reference that can live in sets: equal and hashed by the address its object had
// when the reference was made, so a fresh reference to an object finds one made earlier,
// even after the object has gone. Not locked: its owner uses it from one queue.
#pragma once

#include "platform/base/NSObject.h"

#include <cstdint>
#include <memory>
#include <unordered_set>

class ZADWeakReference : public NSObject {
    NS_OBJECT(ZADWeakReference)
public:
    struct Hash {
        size_t operator()(const std::shared_ptr<ZADWeakReference>& reference) const;
    };
    struct Equal {
        bool operator()(const std::shared_ptr<ZADWeakReference>& a,
                        const std::shared_ptr<ZADWeakReference>& b) const;
    };
    using Set = std::unordered_set<std::shared_ptr<ZADWeakReference>, Hash, Equal>;

    // Null for a null object: a reference needs something to refer to.
    static std::shared_ptr<ZADWeakReference>
    initWithObject(const std::shared_ptr<NSObject>& object);

    // Null once the object has gone.
    std::shared_ptr<NSObject> weakObject() const { return weakObject_.lock(); }
    uintptr_t uniqueID() const { return uniqueID_; }

    size_t hash() const { return static_cast<size_t>(uniqueID_); }
    bool isEqual(const NSObject& other) const override;
    // "<ZADWeakReference: 0x... weakObject:... uniqueID:0x...>"
    std::string description() const override;

    // Whether `set` holds a reference to `object`.
    static bool setContainsObject(const Set& set, const std::shared_ptr<NSObject>& object);

private:
    explicit ZADWeakReference(const std::shared_ptr<NSObject>& object);

    std::weak_ptr<NSObject> weakObject_;
    uintptr_t uniqueID_;
};
