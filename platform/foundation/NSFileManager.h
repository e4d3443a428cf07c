// The file system as the app asks it: the names in a folder.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSError;

class NSFileManager : public NSObject {
    NS_OBJECT(NSFileManager)
public:
    // The shared manager; it keeps no state of its own, so any thread may use it.
    static std::shared_ptr<NSFileManager> defaultManager();

    // The names of the entries directly in the folder `path` (files, folders and links,
    // hidden ones too, never "." or ".."), sorted by their bytes so that every listing of
    // the same folder comes in the same order. A path that is no readable folder gives
    // none and, through `error` when given, an error of the Cocoa domain: "no such file"
    // when nothing is there, "unknown" for anything else (a file, no permission).
    std::optional<std::vector<std::string>>
    contentsOfDirectoryAtPathError(const std::string& path, std::shared_ptr<NSError>* error) const;

protected:
    NSFileManager() = default;
};
