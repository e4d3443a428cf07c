// The run-time class list: classes register themselves by name with their superclass and
// a factory, so that code can find a class by name or list the subclasses of a class, in
// the order they registered.
#pragma once

#include "platform/foundation/NSObject.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// A registered class. `initialize` runs once, before the class is first handed out.
struct Class {
    std::string name;
    std::string superclassName;
    std::function<std::shared_ptr<NSObject>()> factory;
    std::function<void()> initialize;

    // A new instance through the class's plain factory; null when it has none.
    std::shared_ptr<NSObject> alloc() const { return factory ? factory() : nullptr; }
    bool isSubclassOf(const std::string& ancestor) const;
};

class ClassRegistry {
public:
    static ClassRegistry& shared();
    // Every class counts as not yet looked up, so its `initialize` runs again on the next
    // look-up, as in a new process (between tests). Registrations stay.
    static void resetForTesting();

    // Registers a class; a second registration of the same name is ignored.
    void registerClass(Class cls);

    // The class of that name, or null. Runs the class's `initialize` on first look-up.
    const Class* classNamed(const std::string& name);
    // Every class that derives from `ancestor` (not the ancestor itself), in registration
    // order.
    std::vector<const Class*> subclassesOf(const std::string& ancestor);
    std::vector<std::string> classNames() const;
    bool inherits(const Class& cls, const std::string& ancestor) const;

private:
    const Class* find(const std::string& name) const;
    std::vector<std::unique_ptr<Class>> classes_;
    std::vector<std::unique_ptr<std::once_flag>> initialized_;
    mutable std::recursive_mutex mutex_;
};

// The name of a class as registered; runs its `initialize` (as asking the platform for a
// class object does).
std::string NSStringFromClass(const std::string& name);
const Class* NSClassFromString(const std::string& name);

namespace runtime_detail {
template <class T> std::shared_ptr<NSObject> makeDefault() {
    if constexpr (std::is_default_constructible_v<T>) {
        return std::make_shared<T>();
    } else if constexpr (requires { T::alloc(); }) {
        return T::alloc();
    } else {
        return nullptr;
    }
}
struct Registrar {
    explicit Registrar(Class cls) { ClassRegistry::shared().registerClass(std::move(cls)); }
};
} // namespace runtime_detail

#define NS_REGISTER_CONCAT_(a, b) a##b
#define NS_REGISTER_NAME_(a, b) NS_REGISTER_CONCAT_(a, b)

// Registers Name (a subclass of Super) with a factory; one line beside the definition.
// Instances come from the default constructor or a static `alloc()`; a class with
// neither has no plain factory (alloc() gives null).
#define NS_REGISTER_CLASS(Name, Super)                                                             \
    static const runtime_detail::Registrar NS_REGISTER_NAME_(nsRegistrar_, Name) {                 \
        Class {                                                                                    \
#Name, #Super, &runtime_detail::makeDefault < Name>, {}                                \
        }                                                                                          \
    }

// The same, with a class initialiser run on first look-up (the platform's +initialize).
#define NS_REGISTER_CLASS_WITH_INITIALIZE(Name, Super, initializeFunction)                         \
    static const runtime_detail::Registrar NS_REGISTER_NAME_(nsRegistrar_, Name) {                 \
        Class {                                                                                    \
#Name, #Super, &runtime_detail::makeDefault < Name>, initializeFunction                \
        }                                                                                          \
    }
