#include "platform/foundation/NSBundle.h"

#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/runtime/ClassRegistry.h"

#include <algorithm>
#include <filesystem>

NS_REGISTER_CLASS(NSBundle, NSObject);

namespace fs = std::filesystem;

namespace {
std::mutex mainMutex;
std::shared_ptr<NSBundle>& mainInstance() {
    static std::shared_ptr<NSBundle> bundle;
    return bundle;
}

std::string defaultMainBundlePath() {
    std::error_code ec;
    return (fs::read_symlink("/proc/self/exe", ec).parent_path() / "MixPhotos.app").string();
}

std::string fileName(const std::string& name, const std::string& type) {
    return type.empty() ? name : name + "." + type;
}

std::string existingFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) ? path.string() : std::string();
}
} // namespace

NSBundle::NSBundle(std::string path) : path_(std::move(path)) {}

std::shared_ptr<NSBundle> NSBundle::mainBundle() {
    std::lock_guard lock(mainMutex);
    auto& bundle = mainInstance();
    if (!bundle) {
        bundle = std::make_shared<NSBundle>(defaultMainBundlePath());
    }
    return bundle;
}

void NSBundle::setMainBundlePath(const std::string& path) {
    std::lock_guard lock(mainMutex);
    mainInstance() = std::make_shared<NSBundle>(path);
}

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec) ? std::make_shared<NSBundle>(path) : nullptr;
}

std::string NSBundle::pathForResourceOfType(const std::string& name,
                                            const std::string& type) const {
    return pathForResourceOfTypeInDirectory(name, type, "");
}

std::string NSBundle::pathForResourceOfTypeInDirectory(const std::string& name,
                                                       const std::string& type,
                                                       const std::string& subdirectory) const {
    if (name.empty() || name.find("..") != std::string::npos) {
        return "";
    }
    fs::path folder = fs::path(path_) / subdirectory;
    if (auto found = existingFile(folder / fileName(name, type)); !found.empty()) {
        return found;
    }
    for (const auto& language : preferredLocalizations()) {
        auto found = existingFile(fs::path(path_) / (language + ".lproj") / subdirectory /
                                  fileName(name, type));
        if (!found.empty()) {
            return found;
        }
    }
    return "";
}

std::vector<std::string> NSBundle::localizations() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(path_, ec)) {
        if (entry.is_directory() && entry.path().extension() == ".lproj") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> NSBundle::preferredLocalizations() const {
    auto available = localizations();
    auto has = [&](const std::string& name) {
        return std::find(available.begin(), available.end(), name) != available.end();
    };
    for (const auto& language : NSLocale::preferredLanguages()) {
        if (has(language)) {
            return {language};
        }
        std::string base = language.substr(0, language.find('-'));
        if (has(base)) {
            return {base};
        }
    }
    if (has("en")) {
        return {"en"};
    }
    return available.empty() ? std::vector<std::string>{} : std::vector{available.front()};
}

const PlistValue::Dictionary& NSBundle::table(const std::string& lproj,
                                              const std::string& name) const {
    std::string key = lproj + "/" + name;
    auto found = tables_.find(key);
    if (found != tables_.end()) {
        return found->second;
    }
    PlistValue::Dictionary entries;
    fs::path file = fs::path(path_) / (lproj + ".lproj") / (name + ".strings");
    std::error_code ec;
    if (fs::exists(file, ec)) {
        std::shared_ptr<NSError> error;
        auto plist = NSPropertyListSerialization::propertyListWithContentsOfFile(file, &error);
        if (plist && plist->dictionary()) {
            entries = *plist->dictionary();
        } else {
            NSLog("The string table %@ cannot be read", file.string());
        }
    }
    return tables_.emplace(key, std::move(entries)).first->second;
}

std::string NSBundle::localizedStringForKeyValueTable(const std::string& key,
                                                      const std::string& value,
                                                      const std::string& tableName) const {
    std::string name = tableName.empty() ? "Localizable" : tableName;
    std::vector<std::string> languages = preferredLocalizations();
    languages.push_back("en");
    languages.push_back("Base");
    std::lock_guard lock(mutex_);
    for (const auto& language : languages) {
        const auto& entries = table(language, name);
        auto found = entries.find(key);
        if (found != entries.end() && found->second.string()) {
            return *found->second.string();
        }
    }
    return value.empty() ? key : value;
}

const PlistValue::Dictionary& NSBundle::infoDictionary() const {
    std::lock_guard lock(mutex_);
    if (!info_) {
        info_ = std::make_unique<PlistValue::Dictionary>();
        fs::path file = fs::path(path_) / "Info.plist";
        std::shared_ptr<NSError> error;
        auto plist = NSPropertyListSerialization::propertyListWithContentsOfFile(file, &error);
        if (plist && plist->dictionary()) {
            *info_ = *plist->dictionary();
        } else {
            NSLog("The bundle %@ has no readable Info.plist", path_);
        }
    }
    return *info_;
}

PlistValue NSBundle::objectForInfoDictionaryKey(const std::string& key) const {
    const auto& info = infoDictionary();
    auto found = info.find(key);
    return found == info.end() ? PlistValue() : found->second;
}

std::string NSBundle::bundleIdentifier() const {
    auto value = objectForInfoDictionaryKey("CFBundleIdentifier");
    return value.string() ? *value.string() : std::string();
}

std::string NSLocalizedString(const std::string& key, const std::string&) {
    return NSBundle::mainBundle()->localizedStringForKeyValueTable(key, "", "");
}
