#include "platform/foundation/NSUserDefaults.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<NSUserDefaults>& sharedInstance() {
    static std::shared_ptr<NSUserDefaults> defaults;
    return defaults;
}

// Moves a damaged file aside to "<name>.corrupt" (or ".corrupt.N"), never over another;
// false when it could not be moved.
bool keepAside(const std::string& path) {
    std::string target = path + ".corrupt";
    std::error_code error;
    for (int n = 1; fs::exists(target, error) || fs::is_symlink(target, error); ++n) {
        target = path + ".corrupt." + std::to_string(n);
    }
    fs::rename(path, target, error);
    if (error) {
        NSLog("Cannot move the damaged preferences %@ aside: %@", path, error.message());
        return false;
    }
    NSLog("Kept the damaged preferences as %@", target);
    return true;
}

} // namespace

NSUserDefaults::NSUserDefaults(std::string path) : path_(std::move(path)) {
    load();
}

std::shared_ptr<NSUserDefaults> NSUserDefaults::standardUserDefaults() {
    std::lock_guard lock(sharedMutex());
    if (!sharedInstance()) {
        std::string identifier = NSBundle::mainBundle()->bundleIdentifier();
        std::string file = (identifier.empty() ? "app" : identifier) + ".plist";
        std::string folder =
            stringByAppendingPathComponent(NSHomeDirectory(), "Library/Preferences");
        sharedInstance() = std::shared_ptr<NSUserDefaults>(
            new NSUserDefaults(stringByAppendingPathComponent(folder, file)));
    }
    return sharedInstance();
}

void NSUserDefaults::resetForTesting() {
    std::lock_guard lock(sharedMutex());
    sharedInstance().reset();
}

void NSUserDefaults::load() {
    std::error_code error;
    if (!fs::exists(path_, error)) {
        return;
    }
    std::shared_ptr<NSError> readError;
    auto contents = NSPropertyListSerialization::propertyListWithContentsOfFile(path_, &readError);
    if (contents && contents->dictionary()) {
        values_ = *contents->dictionary();
        return;
    }
    if (!contents && readError->code() != NSPropertyListReadCorruptError) {
        // Present but unreadable (a folder, no permission): not damaged, so left in place,
        // and never written over.
        NSLog("Cannot read the preferences %@: %@", path_, readError);
        writable_ = false;
        return;
    }
    NSLog("The preferences %@ are damaged (%@); starting with empty defaults", path_,
          contents ? std::string("not a dictionary") : readError->localizedDescription());
    writable_ = keepAside(path_);
}

PlistValue NSUserDefaults::objectForKey(const std::string& key) const {
    {
        std::lock_guard lock(mutex_);
        if (auto found = values_.find(key); found != values_.end()) {
            return found->second;
        }
    }
    if (key == kAppleLanguagesKey) {
        // The system's answer, as the platform's global domain gives it.
        PlistValue::Array languages;
        for (auto& language : NSLocale::preferredLanguages()) {
            languages.emplace_back(std::move(language));
        }
        return PlistValue(std::move(languages));
    }
    return {};
}

std::string NSUserDefaults::stringForKey(const std::string& key) const {
    return objectForKey(key).stringValue();
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

PlistValue::Dictionary NSUserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(mutex_);
    return values_;
}

void NSUserDefaults::setObjectForKey(PlistValue value, const std::string& key) {
    std::lock_guard lock(mutex_);
    auto found = values_.find(key);
    if (value.isNull()) {
        if (found != values_.end()) {
            values_.erase(found);
            changed_ = true;
        }
        return;
    }
    if (found != values_.end() && found->second == value) {
        return;
    }
    values_[key] = std::move(value);
    changed_ = true;
}

void NSUserDefaults::setBoolForKey(bool value, const std::string& key) {
    setObjectForKey(value, key);
}

void NSUserDefaults::setIntegerForKey(int64_t value, const std::string& key) {
    setObjectForKey(value, key);
}

void NSUserDefaults::setFloatForKey(float value, const std::string& key) {
    setObjectForKey(static_cast<double>(value), key);
}

void NSUserDefaults::setDoubleForKey(double value, const std::string& key) {
    setObjectForKey(value, key);
}

void NSUserDefaults::removeObjectForKey(const std::string& key) {
    setObjectForKey({}, key);
}

bool NSUserDefaults::synchronize() {
    std::lock_guard lock(mutex_);
    if (!changed_) {
        return true;
    }
    if (!writable_) {
        NSLog("Not saving the preferences over %@, which could not be read", path_);
        return false;
    }
    std::shared_ptr<NSError> error;
    auto data = NSPropertyListSerialization::dataWithPropertyList(
        PlistValue(values_), NSPropertyListFormat::Binary, &error);
    if (!data) {
        NSLog("Cannot encode the preferences: %@", error);
        return false;
    }
    if (!NSData::writeToFileAtomically(*data, path_)) {
        NSLog("Cannot write the preferences %@", path_);
        return false;
    }
    changed_ = false;
    return true;
}
