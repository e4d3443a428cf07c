#include "platform/photos/UIImageWriteToSavedPhotosAlbum.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/uikit/UIImage.h"

#include <cstdio>
#include <filesystem>

namespace {

std::shared_ptr<NSError> saveError(const std::string& message) {
    NSLog("UIImageWriteToSavedPhotosAlbum: %@", message);
    return NSError::errorWithDomainCodeUserInfo(NSCocoaErrorDomain, NSFileWriteUnknownError,
                                                {{NSLocalizedDescriptionKey, message}});
}

// The first "IMG_nnnn" of the album folder taken by no picture of either kind.
std::string freeFileName(const std::filesystem::path& album, const char* extension) {
    char stem[32];
    for (unsigned number = 1;; ++number) {
        std::snprintf(stem, sizeof stem, "IMG_%04u", number);
        if (!std::filesystem::exists(album / (std::string(stem) + ".png")) &&
            !std::filesystem::exists(album / (std::string(stem) + ".jpg"))) {
            return std::string(stem) + extension;
        }
    }
}

// Writes the picture; the error when it was not written. Runs on the album's serial queue,
// so two saves never choose the same name.
std::shared_ptr<NSError> writeIntoAlbum(const std::shared_ptr<UIImage>& image,
                                        const std::filesystem::path& album) {
    if (!image) {
        return saveError("no image to save");
    }
    std::error_code error;
    std::filesystem::create_directories(album, error);
    if (error || !std::filesystem::is_directory(album)) {
        return saveError("the album folder " + album.string() + " cannot be made");
    }
    const char* extension = ".png";
    auto data = UIImagePNGRepresentation(image);
    if (!data || data->empty()) {
        extension = ".jpg";
        data = UIImageJPEGRepresentation(image, 1.0);
    }
    if (!data || data->empty()) {
        return saveError("the image cannot be encoded");
    }
    const std::string path = (album / freeFileName(album, extension)).string();
    if (!NSData::writeToFileAtomically(*data, path)) {
        return saveError("cannot write " + path);
    }
    EventLog::record("saved", path);
    PHPhotoLibrary::reloadLibrary();
    return nullptr;
}

} // namespace

void UIImageWriteToSavedPhotosAlbum(const std::shared_ptr<UIImage>& image,
                                    UIImageWriteToSavedPhotosAlbumCompletion completion) {
    static const auto queue =
        dispatch_queue_create("UIImageWriteToSavedPhotosAlbum", DISPATCH_QUEUE_SERIAL);
    const std::filesystem::path album = stringByAppendingPathComponent(NSHomeDirectory(), "Album");
    dispatch_async(queue, [image, album, completion = std::move(completion)] {
        auto error = writeIntoAlbum(image, album);
        if (completion) {
            dispatch_async(dispatch_get_main_queue(), [image, error = std::move(error),
                                                       completion] { completion(image, error); });
        }
    });
}
