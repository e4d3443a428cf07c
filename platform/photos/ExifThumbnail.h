// The small picture a camera embeds in a photo's EXIF block: a few kilobytes read and
// decoded in a fraction of the photo's time, so a grid has something to show at once
// while the photo itself is decoded (the image manager's degraded result).
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"

class PHAsset;

struct ExifThumbnail {
    // The embedded picture, upright and cut as the request would cut the photo, at most at
    // the target size (never enlarged). Null when the file has none, it cannot be decoded,
    // or its shape is not the photo's (some cameras pad it with black bars).
    static CGImageRef imageForAsset(const PHAsset& asset, CGSize targetSize,
                                    PHImageContentMode contentMode,
                                    PHImageRequestOptionsResizeMode resizeMode);
};
