#include "platform/foundation/NSBundle.h"

#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPropertyListSerialization.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::mutex& mainMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& mainPath() {
    static std::string path;
    return path;
}

std::shared_ptr<NSBundle>& mainInstance() {
    static std::shared_ptr<NSBundle> bundle;
    return bundle;
}

std::string defaultMainPath() {
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    return ((error ? fs::current_path(error) : program.parent_path()) / "MixPhotos.app").string();
}

std::string normalised(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    std::string text = (error ? fs::path(path) : absolute).lexically_normal().string();
    if (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

bool pathExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

} // namespace

std::shared_ptr<NSBundle> NSBundle::mainBundle() {
    std::lock_guard lock(mainMutex());
    if (mainPath().empty()) {
        mainPath() = defaultMainPath();
    }
    // One instance per path, so its caches live as long as the path stays.
    if (!mainInstance() || mainInstance()->bundlePath() != mainPath()) {
        mainInstance() = make<NSBundle>(mainPath());
    }
    return mainInstance();
}

void NSBundle::setMainBundlePath(const std::string& path) {
    std::lock_guard lock(mainMutex());
    mainPath() = normalised(path);
}

void NSBundle::resetForTesting() {
    std::lock_guard lock(mainMutex());
    mainPath().clear();
    mainInstance().reset();
}

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(const std::string& path) {
    std::error_code error;
    if (path.empty() || !fs::is_directory(path, error)) {
        return nullptr;
    }
    return make<NSBundle>(normalised(path));
}

std::string NSBundle::pathForResourceOfType(const std::string& name,
                                            const std::string& type) const {
    return pathForResourceOfTypeInDirectory(name, type, "");
}

std::string NSBundle::pathForResourceOfTypeInDirectory(const std::string& name,
                                                       const std::string& type,
                                                       const std::string& subdirectory) const {
    if (name.empty()) {
        return "";
    }
    std::string file = name;
    if (!type.empty()) {
        file += type[0] == '.' ? type : "." + type;
    }
    fs::path candidate = fs::path(path_) / subdirectory / file;
    if (pathExists(candidate)) {
        return candidate.lexically_normal().string();
    }
    for (const auto& localization : localizationSearchOrder()) {
        candidate = fs::path(path_) / (localization + ".lproj") / subdirectory / file;
        if (pathExists(candidate)) {
            return candidate.lexically_normal().string();
        }
    }
    return "";
}

std::string NSBundle::localizedStringForKeyValueTable(const std::string& key,
                                                      const std::string& value,
                                                      const std::string& table) const {
    const std::string name = table.empty() ? "Localizable" : table;
    std::unique_lock lock(mutex_);
    auto cached = tables_.find(name);
    if (cached == tables_.end()) {
        lock.unlock();
        PlistValue::Dictionary loaded = loadTable(name);
        lock.lock();
        cached = tables_.emplace(name, std::move(loaded)).first;
    }
    auto found = cached->second.find(key);
    if (found != cached->second.end() && found->second.string()) {
        return *found->second.string();
    }
    return value.empty() ? key : value;
}

PlistValue::Dictionary NSBundle::loadTable(const std::string& table) const {
    // The localised folders first; then the bundle's root, where a bundle opened at one
    // localisation folder ("de.lproj") finds its tables.
    std::vector<fs::path> candidates;
    for (const auto& localization : localizationSearchOrder()) {
        candidates.push_back(fs::path(path_) / (localization + ".lproj") / (table + ".strings"));
    }
    candidates.push_back(fs::path(path_) / (table + ".strings"));
    for (const auto& file : candidates) {
        if (!pathExists(file)) {
            continue;
        }
        std::shared_ptr<NSError> error;
        auto contents =
            NSPropertyListSerialization::propertyListWithContentsOfFile(file.string(), &error);
        if (!contents) {
            NSLog("Cannot read the string table %@: %@", file.string(), error);
            return {};
        }
        if (!contents->dictionary()) {
            NSLog("The string table %@ is not a dictionary", file.string());
            return {};
        }
        return *contents->dictionary();
    }
    return {};
}

std::vector<std::string> NSBundle::localizations() const {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(path_, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path& path = entry->path();
        if (path.extension() == ".lproj" && entry->is_directory(error)) {
            names.push_back(path.stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> NSBundle::preferredLocalizations() const {
    const auto available = localizations();
    auto has = [&](const std::string& name) {
        return std::find(available.begin(), available.end(), name) != available.end();
    };
    for (std::string language : NSLocale::preferredLanguages()) {
        // "zh-Hans-CN", then "zh-Hans", then "zh".
        for (;;) {
            if (has(language)) {
                return {language};
            }
            size_t dash = language.rfind('-');
            if (dash == std::string::npos) {
                break;
            }
            language.resize(dash);
        }
    }
    if (has("en")) {
        return {"en"};
    }
    if (!available.empty()) {
        return {available.front()};
    }
    return {};
}

std::vector<std::string> NSBundle::localizationSearchOrder() const {
    std::vector<std::string> order = preferredLocalizations();
    for (const char* fallback : {"en", "Base"}) {
        if (std::find(order.begin(), order.end(), fallback) == order.end()) {
            order.push_back(fallback);
        }
    }
    return order;
}

PlistValue::Dictionary NSBundle::infoDictionary() const {
    std::lock_guard lock(mutex_);
    if (!info_) {
        const std::string file = (fs::path(path_) / "Info.plist").string();
        std::shared_ptr<NSError> error;
        auto contents = NSPropertyListSerialization::propertyListWithContentsOfFile(file, &error);
        if (contents && contents->dictionary()) {
            info_ = *contents->dictionary();
        } else {
            NSLog("No usable Info.plist in %@: %@", path_,
                  contents ? std::string("not a dictionary") : error->localizedDescription());
            info_.emplace();
        }
    }
    return *info_;
}

PlistValue NSBundle::objectForInfoDictionaryKey(const std::string& key) const {
    auto info = infoDictionary();
    auto found = info.find(key);
    return found == info.end() ? PlistValue() : found->second;
}

std::string NSBundle::bundleIdentifier() const {
    auto identifier = objectForInfoDictionaryKey("CFBundleIdentifier");
    return identifier.string() ? *identifier.string() : "";
}

std::string NSLocalizedString(const std::string& key, const std::string& comment) {
    return NSBundle::mainBundle()->localizedStringForKeyValueTable(key, "", "");
}
