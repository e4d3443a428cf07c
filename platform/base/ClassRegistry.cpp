#include "platform/base/ClassRegistry.h"

bool Class::isSubclassOf(const std::string& ancestor) const {
    return ClassRegistry::shared().inherits(*this, ancestor);
}

bool ClassRegistry::inherits(const Class& cls, const std::string& ancestor) const {
    std::lock_guard lock(mutex_);
    std::string current = cls.superclassName;
    // Bounded walk: a registration cycle must not hang the look-up.
    for (int depth = 0; depth < 64 && !current.empty(); ++depth) {
        if (current == ancestor) {
            return true;
        }
        const Class* parent = find(current);
        if (!parent) {
            return false;
        }
        current = parent->superclassName;
    }
    return false;
}

const NSObject* ClassRegistry::classMethodsOf(const Class& cls) const {
    std::lock_guard lock(mutex_);
    const Class* current = &cls;
    // Bounded like inherits: a registration cycle must not hang the look-up.
    for (int depth = 0; depth < 64 && current; ++depth) {
        if (current->classMethods) {
            return current->classMethods.get();
        }
        current = current->superclassName.empty() ? nullptr : find(current->superclassName);
    }
    return nullptr;
}

ClassRegistry& ClassRegistry::shared() {
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::resetForTesting() {
    ClassRegistry& registry = shared();
    std::lock_guard lock(registry.mutex_);
    for (auto& flag : registry.initialized_) {
        flag = std::make_unique<std::once_flag>();
    }
}

void ClassRegistry::registerClass(Class cls) {
    std::lock_guard lock(mutex_);
    if (find(cls.name)) {
        return;
    }
    classes_.push_back(std::make_unique<Class>(std::move(cls)));
    initialized_.push_back(std::make_unique<std::once_flag>());
}

const Class* ClassRegistry::find(const std::string& name) const {
    for (const auto& cls : classes_) {
        if (cls->name == name) {
            return cls.get();
        }
    }
    return nullptr;
}

const Class* ClassRegistry::classNamed(const std::string& name) {
    const Class* found = nullptr;
    std::once_flag* flag = nullptr;
    {
        std::lock_guard lock(mutex_);
        for (size_t i = 0; i < classes_.size(); ++i) {
            if (classes_[i]->name == name) {
                found = classes_[i].get();
                flag = initialized_[i].get();
                break;
            }
        }
    }
    if (found && found->initialize) {
        std::call_once(*flag, found->initialize);
    }
    return found;
}

std::vector<const Class*> ClassRegistry::subclassesOf(const std::string& ancestor) {
    std::vector<const Class*> result;
    for (const auto& name : classNames()) {
        const Class* cls = nullptr;
        {
            std::lock_guard lock(mutex_);
            cls = find(name);
        }
        if (cls && inherits(*cls, ancestor)) {
            result.push_back(cls);
        }
    }
    return result;
}

std::vector<std::string> ClassRegistry::classNames() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    names.reserve(classes_.size());
    for (const auto& cls : classes_) {
        names.push_back(cls->name);
    }
    return names;
}

std::string NSStringFromClass(const std::string& name) {
    const Class* cls = ClassRegistry::shared().classNamed(name);
    return cls ? cls->name : std::string();
}

const Class* NSClassFromString(const std::string& name) {
    return ClassRegistry::shared().classNamed(name);
}
