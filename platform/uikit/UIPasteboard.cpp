#include "platform/uikit/UIPasteboard.h"

#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/uikit/UIImage.h"

#include <filesystem>

namespace {
struct GeneralPasteboard {
    std::mutex mutex;
    std::shared_ptr<UIPasteboard> pasteboard;
};

GeneralPasteboard& generalState() {
    static GeneralPasteboard state;
    return state;
}
} // namespace

void UIPasteboard::resetForTesting() {
    std::shared_ptr<UIPasteboard> dropped;
    std::lock_guard lock(generalState().mutex);
    dropped.swap(generalState().pasteboard);
}

std::shared_ptr<UIPasteboard> UIPasteboard::generalPasteboard() {
    std::mutex& mutex = generalState().mutex;
    std::shared_ptr<UIPasteboard>& general = generalState().pasteboard;
    const std::string path = stringByAppendingPathComponent(NSHomeDirectory(), kImageFileName);
    std::lock_guard lock(mutex);
    if (!general || general->imagePath_ != path) {
        general = make<UIPasteboard>(path);
        if (std::filesystem::exists(path)) {
            general->image_ = UIImage::imageWithContentsOfFile(path);
            if (!general->image_) {
                NSLog("UIPasteboard: ignoring unreadable %@", path);
            }
        }
    }
    return general;
}

std::shared_ptr<UIImage> UIPasteboard::image() const {
    std::lock_guard lock(mutex_);
    return image_;
}

std::optional<std::string> UIPasteboard::string() const {
    std::lock_guard lock(mutex_);
    return string_;
}

bool UIPasteboard::setImage(const std::shared_ptr<UIImage>& image) {
    std::lock_guard lock(mutex_);
    if (!image) {
        image_.reset();
        string_.reset();
        removeImageFile();
        return true;
    }
    const auto png = UIImagePNGRepresentation(image);
    if (!png || !NSData::writeToFileAtomically(*png, imagePath_)) {
        // A copy that failed leaves the pasteboard as it was.
        NSLog("UIPasteboard: cannot write %@", imagePath_);
        return false;
    }
    image_ = image;
    string_.reset();
    EventLog::record("saved", imagePath_);
    return true;
}

void UIPasteboard::setString(const std::string& text) {
    std::lock_guard lock(mutex_);
    image_.reset();
    string_ = text;
    removeImageFile();
}

void UIPasteboard::removeImageFile() {
    std::error_code error;
    std::filesystem::remove(imagePath_, error);
    if (error) {
        NSLog("UIPasteboard: cannot remove %@: %@", imagePath_, error.message());
    }
}
