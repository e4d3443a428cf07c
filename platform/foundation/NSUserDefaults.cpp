#include "platform/foundation/NSUserDefaults.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/runtime/ClassRegistry.h"

#include <filesystem>

NS_REGISTER_CLASS(NSUserDefaults, NSObject);

namespace {
std::mutex sharedMutex;
std::shared_ptr<NSUserDefaults>& sharedDefaults() {
    static std::shared_ptr<NSUserDefaults> defaults;
    return defaults;
}

std::string preferencesPath() {
    std::string identifier = NSBundle::mainBundle()->bundleIdentifier();
    if (identifier.empty()) {
        identifier = "app";
    }
    std::string library =
        NSSearchPathForDirectoriesInDomains(NSLibraryDirectory, NSUserDomainMask, true).front();
    return stringByAppendingPathComponent(stringByAppendingPathComponent(library, "Preferences"),
                                          identifier + ".plist");
}

// Keeps a damaged file under a new name instead of overwriting it with the next save.
std::string moveAside(const std::string& path) {
    namespace fs = std::filesystem;
    std::string target = path + ".corrupt";
    std::error_code ec;
    for (int n = 1; fs::exists(target, ec); ++n) {
        target = path + ".corrupt." + std::to_string(n);
    }
    fs::rename(path, target, ec);
    return ec ? std::string() : target;
}
} // namespace

std::shared_ptr<NSUserDefaults> NSUserDefaults::standardUserDefaults() {
    std::lock_guard lock(sharedMutex);
    auto& defaults = sharedDefaults();
    if (!defaults) {
        defaults = std::make_shared<NSUserDefaults>(preferencesPath());
    }
    return defaults;
}

void NSUserDefaults::resetStandardUserDefaults() {
    std::lock_guard lock(sharedMutex);
    sharedDefaults().reset();
}

NSUserDefaults::NSUserDefaults(std::string path) : path_(std::move(path)) {
    load();
}

void NSUserDefaults::load() {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) {
        return;
    }
    std::shared_ptr<NSError> error;
    auto plist = NSPropertyListSerialization::propertyListWithContentsOfFile(path_, &error);
    if (plist && plist->dictionary()) {
        values_ = *plist->dictionary();
        return;
    }
    std::string reason = plist
                             ? std::string("its root is not a dictionary")
                             : (error ? error->localizedDescription() : std::string("unreadable"));
    std::string kept = moveAside(path_);
    NSLog("The preferences file %@ cannot be read (%@); starting with empty defaults, the "
          "file is kept as %@",
          path_, reason, kept.empty() ? std::string("(could not be moved)") : kept);
}

PlistValue NSUserDefaults::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto found = values_.find(key);
    return found == values_.end() ? PlistValue() : found->second;
}

std::string NSUserDefaults::stringForKey(const std::string& key) const {
    PlistValue value = objectForKey(key);
    switch (value.type()) {
    case PlistValue::Type::String:
    case PlistValue::Type::Integer:
    case PlistValue::Type::Real:
    case PlistValue::Type::Boolean:
        return value.stringValue();
    default:
        return "";
    }
}

bool NSUserDefaults::boolForKey(const std::string& key) const {
    return objectForKey(key).boolValue();
}

int64_t NSUserDefaults::integerForKey(const std::string& key) const {
    return objectForKey(key).integerValue();
}

float NSUserDefaults::floatForKey(const std::string& key) const {
    return static_cast<float>(objectForKey(key).doubleValue());
}

double NSUserDefaults::doubleForKey(const std::string& key) const {
    return objectForKey(key).doubleValue();
}

void NSUserDefaults::setObjectForKey(PlistValue value, const std::string& key) {
    std::lock_guard lock(mutex_);
    if (value.isNull()) {
        dirty_ = values_.erase(key) > 0 || dirty_;
        return;
    }
    values_[key] = std::move(value);
    dirty_ = true;
}

void NSUserDefaults::setBoolForKey(bool value, const std::string& key) {
    setObjectForKey(PlistValue(value), key);
}

void NSUserDefaults::setIntegerForKey(int64_t value, const std::string& key) {
    setObjectForKey(PlistValue(value), key);
}

void NSUserDefaults::setFloatForKey(float value, const std::string& key) {
    setObjectForKey(PlistValue(static_cast<double>(value)), key);
}

void NSUserDefaults::setDoubleForKey(double value, const std::string& key) {
    setObjectForKey(PlistValue(value), key);
}

void NSUserDefaults::removeObjectForKey(const std::string& key) {
    setObjectForKey(PlistValue(), key);
}

bool NSUserDefaults::synchronize() {
    std::lock_guard lock(mutex_);
    if (!dirty_) {
        return true;
    }
    std::shared_ptr<NSError> error;
    auto data = NSPropertyListSerialization::dataWithPropertyList(
        PlistValue(values_), NSPropertyListFormat::XML, &error);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
    if (!data || !NSData::writeToFileAtomically(*data, path_)) {
        NSLog("Cannot save the preferences to %@", path_);
        return false;
    }
    dirty_ = false;
    return true;
}

PlistValue::Dictionary NSUserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(mutex_);
    return values_;
}
