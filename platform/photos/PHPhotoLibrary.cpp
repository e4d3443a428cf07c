#include "platform/photos/PHPhotoLibrary.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/foundation/NSString.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PhotoLibraryContents.h"

#include <dirent.h>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sys/stat.h>

namespace {

constexpr const char* kStatusKey = "PHAuthorizationStatus";

struct LibraryState {
    std::mutex mutex; // guards the members and the access file
    std::string libraryFolder;
    PHAccessAnswer answer = PHAccessAnswer::Ask;
    std::shared_ptr<const PhotoLibraryContents> contents;
    // What `contents` was scanned from: the home (and so its Album folder) may change.
    std::string scannedLibraryFolder;
    std::string scannedAlbumFolder;
    // An answer the home could not keep, and the home it is for: it holds for this run.
    std::optional<PHAuthorizationStatus> unkeptStatus;
    std::string unkeptStatusHome;
};

LibraryState& state() {
    static LibraryState shared;
    return shared;
}

std::string accessFilePath() {
    return stringByAppendingPathComponent(NSHomeDirectory(), PHPhotoLibrary::kAccessFileName);
}

// A missing file is a question not yet asked; a damaged one is logged and asked again.
// An answer that could not be written holds in this run.
PHAuthorizationStatus readStatusLocked() {
    if (state().unkeptStatus && state().unkeptStatusHome == NSHomeDirectory()) {
        return *state().unkeptStatus;
    }
    std::shared_ptr<NSError> error;
    const auto stored =
        NSPropertyListSerialization::propertyListWithContentsOfFile(accessFilePath(), &error);
    if (!stored) {
        if (error && error->code() != NSFileReadNoSuchFileError) {
            NSLog("PHPhotoLibrary: ignoring %@: %@", accessFilePath(),
                  error->localizedDescription());
        }
        return PHAuthorizationStatus::NotDetermined;
    }
    const int64_t value = (*stored)[kStatusKey].integerValue();
    return value >= 0 && value <= 3 ? static_cast<PHAuthorizationStatus>(value)
                                    : PHAuthorizationStatus::NotDetermined;
}

void writeStatusLocked(PHAuthorizationStatus status) {
    const std::string path = accessFilePath();
    const auto data = NSPropertyListSerialization::dataWithPropertyList(
        PlistValue::Dictionary{{kStatusKey, static_cast<int>(status)}}, NSPropertyListFormat::XML,
        nullptr);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (!data || !NSData::writeToFileAtomically(*data, path)) {
        NSLog("PHPhotoLibrary: cannot write %@", path);
        state().unkeptStatus = status;
        state().unkeptStatusHome = NSHomeDirectory();
    }
}

PHAuthorizationStatus statusAnswering(PHAccessAnswer answer) {
    switch (answer) {
    case PHAccessAnswer::Denied:
        return PHAuthorizationStatus::Denied;
    case PHAccessAnswer::Restricted:
        return PHAuthorizationStatus::Restricted;
    case PHAccessAnswer::Granted:
    case PHAccessAnswer::Ask:
        break;
    }
    return PHAuthorizationStatus::Authorized;
}

} // namespace

void PHPhotoLibrary::configure(const std::string& libraryFolder, PHAccessAnswer answer) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.libraryFolder = libraryFolder;
    s.answer = answer;
    s.contents = nullptr;
}

void PHPhotoLibrary::resetForTesting() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.libraryFolder.clear();
    s.answer = PHAccessAnswer::Ask;
    s.contents = nullptr;
    s.scannedLibraryFolder.clear();
    s.scannedAlbumFolder.clear();
    s.unkeptStatus.reset();
    s.unkeptStatusHome.clear();
}

std::string PHPhotoLibrary::libraryFolder() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.libraryFolder;
}

PHAuthorizationStatus PHPhotoLibrary::authorizationStatus() {
    std::lock_guard lock(state().mutex);
    return readStatusLocked();
}

void PHPhotoLibrary::requestAuthorization(std::function<void(PHAuthorizationStatus)> handler) {
    PHAccessAnswer answer;
    {
        std::lock_guard lock(state().mutex);
        answer = state().answer;
    }
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                   [answer, handler = std::move(handler)] {
                       PHAuthorizationStatus status;
                       {
                           std::lock_guard lock(state().mutex);
                           status = readStatusLocked();
                           if (status == PHAuthorizationStatus::NotDetermined) {
                               status = statusAnswering(answer);
                               writeStatusLocked(status);
                           }
                       }
                       if (handler) {
                           handler(status);
                       }
                   });
}

bool PHPhotoLibrary::authorizationIsKept() {
    std::lock_guard lock(state().mutex);
    return !state().unkeptStatus || state().unkeptStatusHome != NSHomeDirectory();
}

std::shared_ptr<NSError> PHPhotoLibrary::libraryFolderError() {
    const std::string folder = libraryFolder();
    if (folder.empty()) {
        return nullptr;
    }
    auto failure = [&](const char* format) {
        return NSError::errorWithDomainCodeUserInfo(
            PHPhotosErrorDomain, PHPhotosErrorLibraryFolderUnavailable,
            {{NSLocalizedDescriptionKey, NSString::stringWithFormat(format, folder)}});
    };
    struct stat status;
    if (::stat(folder.c_str(), &status) != 0) {
        return failure("The photo library folder %@ does not exist.");
    }
    if (!S_ISDIR(status.st_mode)) {
        return failure("The photo library %@ is a file, not a folder.");
    }
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) {
        return failure("The photo library folder %@ cannot be read.");
    }
    ::closedir(listing);
    return nullptr;
}

void PHPhotoLibrary::reloadLibrary() {
    std::lock_guard lock(state().mutex);
    state().contents = nullptr;
}

std::shared_ptr<const PhotoLibraryContents> PHPhotoLibrary::contents() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (readStatusLocked() != PHAuthorizationStatus::Authorized) {
        return nullptr;
    }
    const std::string albumFolder = stringByAppendingPathComponent(NSHomeDirectory(), "Album");
    if (!s.contents || s.scannedLibraryFolder != s.libraryFolder ||
        s.scannedAlbumFolder != albumFolder) {
        const auto caches =
            NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true);
        s.contents = PhotoLibraryContents::scan(
            s.libraryFolder, albumFolder,
            PhotoHeaderCache::loadFromFile(
                stringByAppendingPathComponent(caches.front(), PhotoHeaderCache::kFileName)));
        s.scannedLibraryFolder = s.libraryFolder;
        s.scannedAlbumFolder = albumFolder;
        // The rest of the scan, behind whatever album is fetched first.
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0),
                       [contents = s.contents] { contents->readAllHeadersAndSaveCache(); });
    }
    return s.contents;
}
