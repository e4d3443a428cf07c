// The user's locale and preferred languages, from the environment (LC_ALL, LC_MESSAGES,
// LANG, LANGUAGE) or an override set by tests.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <string>
#include <vector>

class NSLocale : public NSObject {
    NS_OBJECT(NSLocale)
public:
    static std::shared_ptr<NSLocale> currentLocale();
    // Languages in the platform's form, most preferred first: "en-US", "zh-Hans-CN", "de".
    static std::vector<std::string> preferredLanguages();

    // Replaces the environment as the source of both (tests).
    static void setOverride(std::string localeIdentifier,
                            std::vector<std::string> preferredLanguages);
    static void clearOverride();
    // The environment again (between tests).
    static void resetForTesting() { clearOverride(); }

    // "en_US", "zh_Hans_CN".
    const std::string& localeIdentifier() const { return identifier_; }
    const std::string& languageCode() const { return language_; }
    // "Hans" in "zh_Hans_CN"; usually empty.
    const std::string& scriptCode() const { return script_; }
    // May be empty ("de").
    const std::string& countryCode() const { return country_; }

    std::string description() const override { return "<NSLocale " + identifier_ + ">"; }

private:
    explicit NSLocale(const std::string& identifier);
    std::string identifier_;
    std::string language_;
    std::string script_;
    std::string country_;
};
