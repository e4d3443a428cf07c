// The user's locale and preferred languages, from the environment (LC_ALL, LC_MESSAGES,
// LANG, LANGUAGE) unless a test sets them.
#pragma once

#include "platform/foundation/NSObject.h"

#include <string>
#include <vector>

class NSLocale : public NSObject {
    NS_OBJECT(NSLocale)
public:
    explicit NSLocale(std::string identifier);
    static std::shared_ptr<NSLocale> currentLocale();
    // Platform form: "en-US", "zh-Hans-CN".
    static std::vector<std::string> preferredLanguages();
    static void setOverride(std::string localeIdentifier, std::vector<std::string> languages);
    static void clearOverride();

    const std::string& localeIdentifier() const { return identifier_; }
    std::string languageCode() const;
    std::string scriptCode() const;
    std::string countryCode() const;

private:
    std::vector<std::string> parts() const;
    std::string identifier_;
};
