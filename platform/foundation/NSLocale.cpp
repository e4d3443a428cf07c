#include "platform/foundation/NSLocale.h"

#include "platform/foundation/NSString.h"
#include "platform/runtime/ClassRegistry.h"

#include <cstdlib>
#include <mutex>
#include <optional>

NS_REGISTER_CLASS(NSLocale, NSObject);

namespace {
struct Override {
    std::string identifier;
    std::vector<std::string> languages;
};
std::mutex overrideMutex;
std::optional<Override>& overrideState() {
    static std::optional<Override> state;
    return state;
}

// "de_DE.UTF-8@euro" -> "de_DE"; the C locale is taken as US English.
std::string identifierFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) {
            continue;
        }
        std::string text = value;
        text = text.substr(0, text.find_first_of(".@"));
        if (text.empty() || text == "C" || text == "POSIX") {
            return "en_US";
        }
        return text;
    }
    return "en_US";
}
} // namespace

NSLocale::NSLocale(std::string identifier) : identifier_(std::move(identifier)) {}

std::shared_ptr<NSLocale> NSLocale::currentLocale() {
    std::lock_guard lock(overrideMutex);
    const auto& state = overrideState();
    return std::make_shared<NSLocale>(state ? state->identifier : identifierFromEnvironment());
}

std::vector<std::string> NSLocale::preferredLanguages() {
    {
        std::lock_guard lock(overrideMutex);
        if (const auto& state = overrideState()) {
            return state->languages;
        }
    }
    std::vector<std::string> languages;
    const char* list = std::getenv("LANGUAGE");
    if (list && *list) {
        for (auto& entry : NSString::componentsSeparatedByString(list, ":")) {
            if (!entry.empty()) {
                languages.push_back(
                    NSString::stringByReplacingOccurrencesOfStringWithString(entry, "_", "-"));
            }
        }
    }
    if (languages.empty()) {
        languages.push_back(NSString::stringByReplacingOccurrencesOfStringWithString(
            identifierFromEnvironment(), "_", "-"));
    }
    return languages;
}

void NSLocale::setOverride(std::string localeIdentifier, std::vector<std::string> languages) {
    std::lock_guard lock(overrideMutex);
    overrideState() = Override{std::move(localeIdentifier), std::move(languages)};
}

void NSLocale::clearOverride() {
    std::lock_guard lock(overrideMutex);
    overrideState().reset();
}

std::vector<std::string> NSLocale::parts() const {
    return NSString::componentsSeparatedByString(
        NSString::stringByReplacingOccurrencesOfStringWithString(identifier_, "-", "_"), "_");
}

std::string NSLocale::languageCode() const {
    auto p = parts();
    return p.empty() ? std::string() : p.front();
}

std::string NSLocale::scriptCode() const {
    auto p = parts();
    // A script is the four-letter part after the language ("zh_Hans_CN").
    return p.size() >= 2 && p[1].size() == 4 ? p[1] : std::string();
}

std::string NSLocale::countryCode() const {
    auto p = parts();
    for (size_t i = 1; i < p.size(); ++i) {
        if (p[i].size() != 4) {
            return p[i];
        }
    }
    return "";
}
