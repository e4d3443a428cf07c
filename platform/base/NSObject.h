// Root of every system class: a class name, a description, and shared/weak ownership.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

// Declares the class-name hooks of a class deriving from NSObject; put it first in the
// class body. It also lets NSObject::make reach the class's hidden constructors.
// Registration by name (for look-up at run time) is separate: see ClassRegistry.h.
#define NS_OBJECT(Name)                                                                            \
    friend class NSObject;                                                                         \
                                                                                                   \
public:                                                                                            \
    static constexpr const char* staticClassName() {                                               \
        return #Name;                                                                              \
    }                                                                                              \
    std::string className() const override {                                                       \
        return #Name;                                                                              \
    }                                                                                              \
                                                                                                   \
private:

class NSObject : public std::enable_shared_from_this<NSObject> {
public:
    NSObject() = default;
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;
    virtual ~NSObject() = default;

    static constexpr const char* staticClassName() { return "NSObject"; }
    virtual std::string className() const { return "NSObject"; }
    // "<ClassName>" by default; subclasses add what identifies them.
    virtual std::string description() const;
    // Identity, as the platform's isEqual: defaults to.
    virtual bool isEqual(const NSObject& other) const { return this == &other; }

    // A shared handle on this object typed as T; the object must be owned by a shared_ptr.
    template <class T> std::shared_ptr<T> self() {
        return std::static_pointer_cast<T>(shared_from_this());
    }
    template <class T> std::shared_ptr<const T> self() const {
        return std::static_pointer_cast<const T>(shared_from_this());
    }
    template <class T> std::weak_ptr<T> weakSelf() { return self<T>(); }

    // Objects attached by key from outside the class (what a category adds to a class it
    // does not own), held strongly and released with the receiver; null when none is
    // attached. Not thread-safe: the receiver's own thread only.
    std::shared_ptr<NSObject> associatedObject(const std::string& key) const;
    // A null value removes the key.
    void setAssociatedObject(const std::string& key, std::shared_ptr<NSObject> value);

protected:
    // A new T owned by a shared_ptr, made through any of its constructors, hidden ones
    // included: how a factory makes an instance of a class whose constructors are protected
    // or private (so that no half-built object can be made outside its factories).
    template <class T, class... Args> static std::shared_ptr<T> make(Args&&... args) {
        return std::shared_ptr<T>(new T(std::forward<Args>(args)...));
    }

private:
    // Made on first use: most objects never carry any.
    std::unique_ptr<std::map<std::string, std::shared_ptr<NSObject>>> associated_;
};

using NSObjectPtr = std::shared_ptr<NSObject>;

// The description of an object, "(null)" for none, as %@ formats it.
std::string NSDescription(const NSObject* object);
inline std::string NSDescription(const std::shared_ptr<NSObject>& object) {
    return NSDescription(object.get());
}
