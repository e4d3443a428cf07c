// The app's preferences: a dictionary of property-list values kept in memory and saved as
// a property-list file in the home's Library/Preferences. Thread-safe.
#pragma once

#include "platform/foundation/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <mutex>
#include <string>

class NSUserDefaults : public NSObject {
    NS_OBJECT(NSUserDefaults)
public:
    // Loaded from NSHomeDirectory()/Library/Preferences/<bundle identifier>.plist.
    static std::shared_ptr<NSUserDefaults> standardUserDefaults();
    // Drops the shared instance without saving; the next call reads the file again (as a
    // new launch of the app would).
    static void resetStandardUserDefaults();

    explicit NSUserDefaults(std::string path);

    // Null when absent.
    PlistValue objectForKey(const std::string& key) const;
    // Strings, and numbers as their text; "" otherwise.
    std::string stringForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;
    int64_t integerForKey(const std::string& key) const;
    float floatForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;

    // A null value removes the key.
    void setObjectForKey(PlistValue value, const std::string& key);
    void setBoolForKey(bool value, const std::string& key);
    void setIntegerForKey(int64_t value, const std::string& key);
    void setFloatForKey(float value, const std::string& key);
    void setDoubleForKey(double value, const std::string& key);
    void removeObjectForKey(const std::string& key);

    // Saves the values when they changed since the last save: a temporary file renamed
    // over the old one, so a failed write never loses the previous state.
    bool synchronize();
    PlistValue::Dictionary dictionaryRepresentation() const;

    const std::string& path() const { return path_; }

private:
    void load();

    std::string path_;
    PlistValue::Dictionary values_;
    bool dirty_ = false;
    mutable std::mutex mutex_;
};
