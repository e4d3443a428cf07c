#include "platform/photos/PHImageManager.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/graphics/ExifReader.h"
#include "platform/graphics/ImageOrientation.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/photos/BoxResampler.h"
#include "platform/photos/ImageRequestGeometry.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHCachingImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/PhotoFileHeader.h"

namespace {

std::optional<std::vector<uint8_t>> readImageFile(const std::shared_ptr<PHAsset>& asset,
                                                  std::string& error) {
    if (!asset || asset->mediaType() != PHAssetMediaType::Image) {
        error = asset ? "the asset is not an image" : "no asset";
        return std::nullopt;
    }
    auto data = NSData::dataWithContentsOfFile(asset->filePath());
    if (!data) {
        error = "cannot read " + asset->filePath();
    }
    return data;
}

// The upright result; the full photo is never decoded when a smaller decode will do, and
// each buffer is let go as soon as the next one is made.
CGImageRef makeImage(const std::shared_ptr<PHAsset>& asset, CGSize targetSize,
                     PHImageContentMode contentMode, PHImageRequestOptionsResizeMode resizeMode,
                     std::string& error) {
    auto data = readImageFile(asset, error);
    if (!data) {
        return nullptr;
    }
    const auto header = PhotoFileHeader::readData(data->data(), data->size());
    if (!header) {
        error = "not a PNG or JPEG file we can read";
        return nullptr;
    }
    const auto geometry =
        ImageRequestGeometry::compute(*header, targetSize, contentMode, resizeMode);
    CGImageRef decoded =
        header->imageType == ImageFileType::JPEG
            ? JPEGCodec::decodeScaled(data->data(), data->size(), geometry.minimumDecodeWidth,
                                      geometry.minimumDecodeHeight, &error)
            : PNGCodec::decode(data->data(), data->size(), &error);
    data.reset();
    if (!decoded) {
        return nullptr;
    }
    const double scaleX = double(decoded->width()) / double(header->width);
    const double scaleY = double(decoded->height()) / double(header->height);
    const CGRect source = CGRectMake(
        geometry.storedSource.origin.x * scaleX, geometry.storedSource.origin.y * scaleY,
        geometry.storedSource.size.width * scaleX, geometry.storedSource.size.height * scaleY);
    const size_t width = header->isTransposed() ? geometry.height : geometry.width;
    const size_t height = header->isTransposed() ? geometry.width : geometry.height;
    const bool asDecoded =
        width == decoded->width() && height == decoded->height() &&
        CGRectEqualToRect(source, CGRectMake(0, 0, double(width), double(height)));
    if (!asDecoded) {
        decoded = BoxResampler::resample(decoded, source, width, height);
    }
    return CGImageCreateOriented(decoded, ImageOrientationFromExif(header->exifOrientation));
}

PlistValue::Dictionary failureInfo(const std::shared_ptr<PHAsset>& asset,
                                   const std::string& error) {
    NSLog("PHImageManager: no image for %@: %@",
          asset ? asset->localIdentifier() : std::string("(null)"), error);
    return {{PHImageErrorKey, error}};
}

} // namespace

std::shared_ptr<PHImageManager> PHImageManager::defaultManager() {
    static const auto shared = std::make_shared<PHCachingImageManager>();
    return shared;
}

void PHImageManager::resetForTesting() {
    const auto manager = defaultManager();
    std::lock_guard lock(manager->mutex_);
    manager->pending_.clear();
}

PHImageRequestID PHImageManager::requestImageForAssetTargetSizeContentModeOptionsResultHandler(
    const std::shared_ptr<PHAsset>& asset, CGSize targetSize, PHImageContentMode contentMode,
    const std::shared_ptr<PHImageRequestOptions>& options, ImageResultHandler resultHandler) {
    const auto resizeMode = options ? options->resizeMode() : PHImageRequestOptionsResizeMode::Fast;
    return submit(options && options->synchronous(),
                  [=, handler = std::move(resultHandler)]() mutable -> std::function<void()> {
                      std::string error;
                      CGImageRef pixels =
                          makeImage(asset, targetSize, contentMode, resizeMode, error);
                      auto image = UIImage::imageWithCGImageScaleOrientation(
                          std::move(pixels), 1, UIImageOrientation::Up);
                      auto info = image ? PlistValue::Dictionary{} : failureInfo(asset, error);
                      return [handler = std::move(handler), image = std::move(image),
                              info = std::move(info)] {
                          if (handler) {
                              handler(image, info);
                          }
                      };
                  });
}

PHImageRequestID PHImageManager::requestImageDataForAssetOptionsResultHandler(
    const std::shared_ptr<PHAsset>& asset, const std::shared_ptr<PHImageRequestOptions>& options,
    ImageDataResultHandler resultHandler) {
    return submit(options && options->synchronous(),
                  [asset, handler = std::move(resultHandler)]() mutable -> std::function<void()> {
                      std::string error, type;
                      auto orientation = UIImageOrientation::Up;
                      auto data = readImageFile(asset, error);
                      if (data) {
                          switch (ImageDecoder::sniff(data->data(), data->size())) {
                          case ImageFileType::JPEG:
                              type = "public.jpeg";
                              orientation = ImageOrientationFromExif(
                                  ExifReader::read(data->data(), data->size()).orientation);
                              break;
                          case ImageFileType::PNG:
                              type = "public.png";
                              break;
                          case ImageFileType::Unknown:
                              error = "not a PNG or JPEG file";
                              data.reset();
                              break;
                          }
                      }
                      auto info = data ? PlistValue::Dictionary{} : failureInfo(asset, error);
                      return [handler = std::move(handler), data = std::move(data), type,
                              orientation, info = std::move(info)]() mutable {
                          if (handler) {
                              handler(std::move(data), type, orientation, info);
                          }
                      };
                  });
}

void PHImageManager::cancelImageRequest(PHImageRequestID requestID) {
    finish(requestID);
}

bool PHImageManager::finish(PHImageRequestID requestID) {
    std::lock_guard lock(mutex_);
    return pending_.erase(requestID) > 0;
}

PHImageRequestID PHImageManager::submit(bool synchronous,
                                        std::function<std::function<void()>()> work) {
    PHImageRequestID requestID;
    {
        std::lock_guard lock(mutex_);
        requestID = lastRequestID_ = lastRequestID_ == INT32_MAX ? 1 : lastRequestID_ + 1;
        pending_.insert(requestID);
    }
    if (synchronous) {
        auto answer = work();
        if (finish(requestID)) {
            answer();
        }
        return requestID;
    }
    auto self = this->self<PHImageManager>();
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                   [self, requestID, work = std::move(work)] {
                       {
                           std::lock_guard lock(self->mutex_);
                           if (!self->pending_.contains(requestID)) {
                               return; // cancelled before it started
                           }
                       }
                       dispatch_async(dispatch_get_main_queue(),
                                      [self, requestID, answer = work()] {
                                          if (self->finish(requestID)) {
                                              answer();
                                          }
                                      });
                   });
    return requestID;
}
