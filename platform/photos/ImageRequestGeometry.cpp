#include "platform/photos/ImageRequestGeometry.h"

#include <algorithm>
#include <cmath>

ImageRequestGeometry ImageRequestGeometry::compute(const PhotoFileHeader& header, CGSize targetSize,
                                                   PHImageContentMode contentMode,
                                                   PHImageRequestOptionsResizeMode resizeMode) {
    const double photoWidth = double(header.uprightWidth());
    const double photoHeight = double(header.uprightHeight());
    // The part of the upright photo shown, and the scale it is shown at.
    double shownWidth = photoWidth, shownHeight = photoHeight, scale = 1;
    if (targetSize.width > 0 && targetSize.height > 0 && photoWidth > 0 && photoHeight > 0) {
        const double fit = std::min(targetSize.width / photoWidth, targetSize.height / photoHeight);
        const double fill =
            std::max(targetSize.width / photoWidth, targetSize.height / photoHeight);
        const bool aspectFill = contentMode == PHImageContentMode::AspectFill;
        if (aspectFill && resizeMode == PHImageRequestOptionsResizeMode::Exact) {
            // The largest centred part of the photo with the target's shape.
            shownWidth = std::min(photoWidth, targetSize.width / fill);
            shownHeight = std::min(photoHeight, targetSize.height / fill);
        }
        scale = std::min(1.0, aspectFill ? fill : fit);
    }
    auto pixels = [](double length) {
        return std::max<size_t>(1, static_cast<size_t>(std::lround(length)));
    };
    // A hair below the exact product, so that 4000 x 0.25 asks for 1000, not 1001.
    auto atLeast = [](double length) {
        return std::max<size_t>(1, static_cast<size_t>(std::ceil(length - 1e-6)));
    };

    ImageRequestGeometry geometry;
    geometry.width = pixels(shownWidth * scale);
    geometry.height = pixels(shownHeight * scale);
    const bool transposed = header.isTransposed();
    const double storedWidth = transposed ? shownHeight : shownWidth;
    const double storedHeight = transposed ? shownWidth : shownHeight;
    // Centred, so the same in every orientation.
    geometry.storedSource =
        CGRectMake((double(header.width) - storedWidth) / 2,
                   (double(header.height) - storedHeight) / 2, storedWidth, storedHeight);
    geometry.minimumDecodeWidth = atLeast(double(header.width) * scale);
    geometry.minimumDecodeHeight = atLeast(double(header.height) * scale);
    return geometry;
}
