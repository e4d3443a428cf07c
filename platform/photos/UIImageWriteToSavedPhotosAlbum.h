// Saving a picture into the photo album: the home's "Album" folder, which the photo
// library shows as an album of its own.
#pragma once

#include "platform/foundation/NSError.h"

#include <functional>
#include <memory>

class UIImage;

// Hears the outcome of a save: the image, and an error when it was not saved. Stands for
// the platform's completion target and selector.
using UIImageWriteToSavedPhotosAlbumCompletion =
    std::function<void(const std::shared_ptr<UIImage>& image, std::shared_ptr<NSError> error)>;

// Writes `image` as a PNG (a JPEG when PNG encoding fails) into "<home>/Album/" under the
// next free name "IMG_0001.png", "IMG_0002.png" ... (never over an existing file),
// atomically, on a worker; logs "saved: <path>" and has the photo library scanned again.
// `completion` (may be empty) then runs on the main queue, with an NSError when nothing was
// written: a null image, an Album path that is not a folder, a failed write.
void UIImageWriteToSavedPhotosAlbum(const std::shared_ptr<UIImage>& image,
                                    UIImageWriteToSavedPhotosAlbumCompletion completion);
