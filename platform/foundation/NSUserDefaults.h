// The user's settings: a dictionary kept in <home>/Library/Preferences/<bundle id>.plist,
// loaded at first use and written back on synchronize(). Safe to use from any thread.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class NSUserDefaults : public NSObject {
    NS_OBJECT(NSUserDefaults)
public:
    static std::shared_ptr<NSUserDefaults> standardUserDefaults();
    // Forgets the shared instance without writing it; the next standardUserDefaults()
    // reads the file again, as a relaunch would (between tests, and to test a relaunch).
    static void resetForTesting();

    // The user's preferred languages, most wanted first; answered from the locale's
    // preferred languages unless the app has set the key itself.
    static constexpr const char* kAppleLanguagesKey = "AppleLanguages";

    // Null when absent.
    PlistValue objectForKey(const std::string& key) const;
    // Text, or a number's text; "" otherwise.
    std::string stringForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;
    int64_t integerForKey(const std::string& key) const;
    float floatForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    PlistValue::Dictionary dictionaryRepresentation() const;

    // A null value removes the key.
    void setObjectForKey(PlistValue value, const std::string& key);
    void setBoolForKey(bool value, const std::string& key);
    void setIntegerForKey(int64_t value, const std::string& key);
    void setFloatForKey(float value, const std::string& key);
    void setDoubleForKey(double value, const std::string& key);
    void removeObjectForKey(const std::string& key);

    // Writes the settings if they changed since the last write; false when that failed.
    bool synchronize();

private:
    explicit NSUserDefaults(std::string path);
    void load();

    const std::string path_;
    mutable std::mutex mutex_;
    PlistValue::Dictionary values_;
    bool changed_ = false;
    // False while a file that could not be read stands where the preferences go.
    bool writable_ = true;
};
