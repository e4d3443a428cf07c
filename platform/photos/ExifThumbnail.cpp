#include "platform/photos/ExifThumbnail.h"

#include "platform/graphics/BoxResampler.h"
#include "platform/graphics/ExifReader.h"
#include "platform/graphics/ImageOrientation.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/photos/ImageRequestGeometry.h"
#include "platform/photos/PHAsset.h"

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// The largest EXIF block a JPEG segment holds.
constexpr size_t kMaxExifBlock = 65533;
// How far the thumbnail's shape may be from the photo's, as a share of its width.
constexpr double kShapeTolerance = 0.02;

std::vector<uint8_t> readExifBlock(const PHAsset& asset) {
    std::vector<uint8_t> block(std::min(asset.exifBlockLength(), kMaxExifBlock));
    const int fd = ::open(asset.filePath().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return {};
    }
    const ssize_t count =
        ::pread(fd, block.data(), block.size(), static_cast<off_t>(asset.exifBlockOffset()));
    ::close(fd);
    block.resize(count > 0 ? static_cast<size_t>(count) : 0);
    return block;
}

} // namespace

CGImageRef ExifThumbnail::imageForAsset(const PHAsset& asset, CGSize targetSize,
                                        PHImageContentMode contentMode,
                                        PHImageRequestOptionsResizeMode resizeMode) {
    if (asset.exifBlockLength() == 0 || asset.pixelWidth() == 0 || asset.pixelHeight() == 0) {
        return nullptr;
    }
    const auto block = readExifBlock(asset);
    const ExifInfo exif = ExifReader::read(block.data(), block.size(), ExifReader::Thumbnail::Copy);
    if (exif.thumbnail.empty()) {
        return nullptr;
    }
    auto decoded = JPEGCodec::decode(exif.thumbnail.data(), exif.thumbnail.size());
    if (decoded.hasError()) {
        return nullptr;
    }
    CGImageRef picture = std::move(decoded).value();
    // The thumbnail is stored as the photo is: compare it with the stored shape.
    PhotoFileHeader header;
    header.exifOrientation = exif.orientation;
    header.width = picture->width();
    header.height = picture->height();
    const double photoAspect = double(asset.pixelWidth()) / double(asset.pixelHeight());
    const double pictureAspect = double(header.uprightWidth()) / double(header.uprightHeight());
    if (std::abs(pictureAspect - photoAspect) > kShapeTolerance * photoAspect) {
        return nullptr;
    }
    const auto geometry =
        ImageRequestGeometry::compute(header, targetSize, contentMode, resizeMode);
    const size_t width = header.isTransposed() ? geometry.height : geometry.width;
    const size_t height = header.isTransposed() ? geometry.width : geometry.height;
    if (auto resampled = BoxResampler::resample(picture, geometry.storedSource, width, height)) {
        picture = std::move(resampled);
    }
    return CGImageCreateOriented(picture, ImageOrientationFromExif(exif.orientation));
}
