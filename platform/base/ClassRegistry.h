// The run-time class list: each library registers its classes by name with their
// superclass and a factory (one explicit call per library, see e.g. UIKitClasses.h), so
// that code can find a class by name or list the subclasses of a class, in the order they
// registered.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

// A registered class. `initialize` runs once, before the class is first handed out.
// `classMethods` stands for the class's own methods (those sent to the class, not to an
// instance): an object whose type adopts the protocols the class adopts at class level.
// Each of its methods is given the receiving class, so that a subclass without its own
// inherits them and still answers as itself.
struct Class {
    std::string name;
    std::string superclassName;
    std::function<std::shared_ptr<NSObject>()> factory;
    std::function<void()> initialize;
    std::shared_ptr<const NSObject> classMethods;

    // A new instance through the class's plain factory; null when it has none.
    std::shared_ptr<NSObject> alloc() const { return factory ? factory() : nullptr; }
    bool isSubclassOf(const std::string& ancestor) const;
};

class ClassRegistry {
public:
    // The program's registry; each library fills it through its one registration call.
    static ClassRegistry& shared();
    // An empty registry of one's own (tests).
    ClassRegistry() = default;
    // Every class counts as not yet looked up, so its `initialize` runs again on the next
    // look-up, as in a new process (between tests). Registrations stay.
    static void resetForTesting();

    // Registers a class; a second registration of the same name is ignored.
    void registerClass(Class cls);
    // Registers T, a subclass of Super, under T's class name, made through its factory.
    template <class T, class Super>
    void add(std::function<void()> initialize = {},
             std::shared_ptr<const NSObject> classMethods = nullptr);

    // The class of that name, or null. Runs the class's `initialize` on first look-up.
    const Class* classNamed(const std::string& name);
    // Every class that derives from `ancestor` (not the ancestor itself), in registration
    // order.
    std::vector<const Class*> subclassesOf(const std::string& ancestor);
    std::vector<std::string> classNames() const;
    bool inherits(const Class& cls, const std::string& ancestor) const;
    // The class methods the class answers to: its own, else the nearest superclass's;
    // null when none in its chain has any.
    const NSObject* classMethodsOf(const Class& cls) const;
    // Those class methods when they adopt the protocol P, else null (the class does not
    // conform at class level).
    template <class P> const P* classConformingTo(const Class& cls) const {
        return dynamic_cast<const P*>(classMethodsOf(cls));
    }

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

// Every registered class's factory: the class's own `alloc()` where it has one (a class
// that needs set-up hides its constructors behind it), else its public default
// constructor; an abstract class, or one with neither, has no plain factory (alloc() gives
// null). A subclass of a class with alloc() declares its own, or the registry would hand
// out the superclass.
namespace runtime_detail {
template <class T> std::shared_ptr<NSObject> makeDefault() {
    if constexpr (std::is_abstract_v<T>) {
        return nullptr;
    } else if constexpr (requires { T::alloc(); }) {
        static_assert(std::is_same_v<decltype(T::alloc()), std::shared_ptr<T>>,
                      "a registered class inheriting alloc() must declare its own");
        return T::alloc();
    } else if constexpr (std::is_default_constructible_v<T>) {
        return std::make_shared<T>();
    } else {
        return nullptr;
    }
}
} // namespace runtime_detail

template <class T, class Super>
void ClassRegistry::add(std::function<void()> initialize,
                        std::shared_ptr<const NSObject> classMethods) {
    registerClass(Class{T::staticClassName(), Super::staticClassName(),
                        &runtime_detail::makeDefault<T>, std::move(initialize),
                        std::move(classMethods)});
}
