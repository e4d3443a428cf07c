#include "platform/foundation/NSLocale.h"

#include "platform/foundation/NSString.h"

#include <cstdlib>
#include <mutex>
#include <optional>

namespace {

struct Override {
    std::string identifier;
    std::vector<std::string> languages;
};

std::mutex& overrideMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<Override>& installedOverride() {
    static std::optional<Override> value;
    return value;
}

std::optional<Override> currentOverride() {
    std::lock_guard lock(overrideMutex());
    return installedOverride();
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// "de_DE.UTF-8@euro" -> "de_DE"; "en-US" -> "en_US"; "C", "POSIX" and "" -> "".
std::string identifierFromPosix(std::string name) {
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX") {
        return "";
    }
    return NSString::stringByReplacingOccurrencesOfStringWithString(name, "-", "_");
}

// The identifier the environment asks for, the first variable that is set deciding.
std::string environmentIdentifier() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        std::string value = environment(variable);
        if (!value.empty()) {
            return identifierFromPosix(value);
        }
    }
    return "";
}

std::string identifierOrDefault(const std::string& identifier) {
    return identifier.empty() ? "en_US" : identifier;
}

std::string languageFromIdentifier(const std::string& identifier) {
    return NSString::stringByReplacingOccurrencesOfStringWithString(identifier, "_", "-");
}

} // namespace

NSLocale::NSLocale(const std::string& identifier) : identifier_(identifier) {
    auto parts = NSString::componentsSeparatedByString(identifier, "_");
    language_ = parts[0];
    for (size_t i = 1; i < parts.size(); ++i) {
        // A four-letter part is a script ("Hans"); the region follows it.
        if (parts[i].size() == 4 && script_.empty() && country_.empty()) {
            script_ = parts[i];
        } else if (country_.empty()) {
            country_ = parts[i];
        }
    }
}

std::shared_ptr<NSLocale> NSLocale::currentLocale() {
    auto override = currentOverride();
    std::string identifier = override ? override->identifier : environmentIdentifier();
    return make<NSLocale>(identifierOrDefault(identifier));
}

std::vector<std::string> NSLocale::preferredLanguages() {
    if (auto override = currentOverride()) {
        return override->languages;
    }
    std::vector<std::string> languages;
    // LANGUAGE lists the languages in order ("de:en"); it only counts with a real locale.
    std::string identifier = environmentIdentifier();
    if (!identifier.empty()) {
        for (const auto& entry :
             NSString::componentsSeparatedByString(environment("LANGUAGE"), ":")) {
            std::string language = languageFromIdentifier(identifierFromPosix(entry));
            if (!language.empty()) {
                languages.push_back(language);
            }
        }
    }
    if (languages.empty()) {
        languages.push_back(languageFromIdentifier(identifierOrDefault(identifier)));
    }
    return languages;
}

void NSLocale::setOverride(std::string localeIdentifier,
                           std::vector<std::string> preferredLanguages) {
    std::lock_guard lock(overrideMutex());
    installedOverride() = Override{std::move(localeIdentifier), std::move(preferredLanguages)};
}

void NSLocale::clearOverride() {
    std::lock_guard lock(overrideMutex());
    installedOverride().reset();
}
