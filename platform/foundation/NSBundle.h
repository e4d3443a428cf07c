// A folder of resources: the app's own (the main bundle) or a component's. Finds files,
// reads the Info dictionary and looks texts up in string tables ("<table>.strings" in
// the "<language>.lproj" folders, stored as property-list dictionaries).
#pragma once

#include "platform/foundation/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class NSBundle : public NSObject {
    NS_OBJECT(NSBundle)
public:
    explicit NSBundle(std::string path);
    // The app's bundle: the folder set by setMainBundlePath, else "MixPhotos.app" beside
    // the running program.
    static std::shared_ptr<NSBundle> mainBundle();
    static void setMainBundlePath(const std::string& path);
    // Null when the path is not a folder.
    static std::shared_ptr<NSBundle> bundleWithPath(const std::string& path);

    const std::string& bundlePath() const { return path_; }
    const std::string& resourcePath() const { return path_; }

    // "" when missing. `type` may be empty when the name carries its extension.
    std::string pathForResourceOfType(const std::string& name, const std::string& type) const;
    std::string pathForResourceOfTypeInDirectory(const std::string& name, const std::string& type,
                                                 const std::string& subdirectory) const;

    // The text of `key` in `table` ("" means "Localizable"); a missing key gives `value`,
    // or the key itself when `value` is empty.
    std::string localizedStringForKeyValueTable(const std::string& key, const std::string& value,
                                                const std::string& table) const;
    // The bundle's *.lproj folder names, sorted.
    std::vector<std::string> localizations() const;
    // The user's first preferred language the bundle has, then "en", then the first one.
    std::vector<std::string> preferredLocalizations() const;

    // Info.plist at the bundle's root (empty when missing or damaged).
    const PlistValue::Dictionary& infoDictionary() const;
    PlistValue objectForInfoDictionaryKey(const std::string& key) const;
    std::string bundleIdentifier() const;

private:
    const PlistValue::Dictionary& table(const std::string& lproj, const std::string& name) const;

    std::string path_;
    mutable std::mutex mutex_;
    mutable std::map<std::string, PlistValue::Dictionary> tables_;
    mutable std::unique_ptr<PlistValue::Dictionary> info_;
};

std::string NSLocalizedString(const std::string& key, const std::string& comment);
