// A bundle: a folder of resources with Info.plist at its root and localised resources and
// string tables in "<language>.lproj" folders. The main bundle is the app's own.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class NSBundle : public NSObject {
    NS_OBJECT(NSBundle)
public:
    // The bundle at the path last set, by default "MixPhotos.app" beside the program.
    static std::shared_ptr<NSBundle> mainBundle();
    static void setMainBundlePath(const std::string& path);
    // Back to the default path, forgetting the main bundle and its caches (between tests).
    static void resetForTesting();
    // Null when `path` is not a folder.
    static std::shared_ptr<NSBundle> bundleWithPath(const std::string& path);

    const std::string& bundlePath() const { return path_; }
    const std::string& resourcePath() const { return path_; }

    // The resource's path, "" when missing. `type` may be empty when `name` has the
    // extension. Looks in the bundle's folder, then in the localised folders.
    std::string pathForResourceOfType(const std::string& name, const std::string& type) const;
    std::string pathForResourceOfTypeInDirectory(const std::string& name, const std::string& type,
                                                 const std::string& subdirectory) const;

    // The string for `key` in `table` ("" for "Localizable"), read from the first
    // localisation folder that has the table, else from the bundle's root; else `value`
    // when not empty, else the key itself.
    std::string localizedStringForKeyValueTable(const std::string& key, const std::string& value,
                                                const std::string& table) const;

    // The names of the bundle's localisations ("en", "de", "Base"), sorted.
    std::vector<std::string> localizations() const;
    // The localisation to use: the first preferred language the bundle has ("de-DE", then
    // "de"), else "en" when present, else the first it has.
    std::vector<std::string> preferredLocalizations() const;

    // Info.plist; empty when missing or damaged.
    PlistValue::Dictionary infoDictionary() const;
    PlistValue objectForInfoDictionaryKey(const std::string& key) const;
    std::string bundleIdentifier() const;

    std::string description() const override { return "<NSBundle " + path_ + ">"; }

private:
    explicit NSBundle(std::string path) : path_(std::move(path)) {}
    // Localisation folders to search, most wanted first: preferred, "en", "Base".
    std::vector<std::string> localizationSearchOrder() const;
    PlistValue::Dictionary loadTable(const std::string& table) const;

    std::string path_;
    mutable std::mutex mutex_;
    mutable std::optional<PlistValue::Dictionary> info_;
    mutable std::map<std::string, PlistValue::Dictionary> tables_;
};

// The main bundle's string for `key` in its Localizable table.
std::string NSLocalizedString(const std::string& key, const std::string& comment);
