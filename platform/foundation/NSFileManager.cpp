#include "platform/foundation/NSFileManager.h"

#include "platform/foundation/NSError.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

std::shared_ptr<NSFileManager> NSFileManager::defaultManager() {
    static const std::shared_ptr<NSFileManager> manager = make<NSFileManager>();
    return manager;
}

std::optional<std::vector<std::string>>
NSFileManager::contentsOfDirectoryAtPathError(const std::string& path,
                                              std::shared_ptr<NSError>* error) const {
    namespace fs = std::filesystem;
    std::error_code failure;
    std::vector<std::string> names;
    fs::directory_iterator entries(path, failure);
    for (; !failure && entries != fs::directory_iterator(); entries.increment(failure)) {
        names.push_back(entries->path().filename().string());
    }
    if (failure) {
        if (error) {
            const bool missing = failure == std::errc::no_such_file_or_directory;
            *error = NSError::errorWithDomainCodeUserInfo(
                NSCocoaErrorDomain, missing ? NSFileReadNoSuchFileError : NSFileReadUnknownError,
                {{NSLocalizedDescriptionKey,
                  "The folder \u201c" + path + "\u201d couldn\u2019t be " +
                      (missing ? "opened because there is no such file." : "read.")}});
        }
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
}
