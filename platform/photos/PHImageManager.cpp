#include "platform/photos/PHImageManager.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/ErrorOr.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/graphics/ExifReader.h"
#include "platform/graphics/ImageCodecError.h"
#include "platform/graphics/ImageOrientation.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/photos/ExifThumbnail.h"
#include "platform/photos/ImageRequestGeometry.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHCachingImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/PhotoFileHeader.h"
#include "platform/photos/ThumbnailCache.h"

namespace {

ErrorOr<ByteBuffer> readImageFile(const std::shared_ptr<PHAsset>& asset) {
    if (!asset || asset->mediaType() != PHAssetMediaType::Image) {
        return makeError(PHPhotosErrorDomain, PHPhotosErrorRequestNotSupportedForAsset,
                         asset ? "the asset is not an image" : "no asset");
    }
    auto data = NSData::dataWithContentsOfFile(asset->filePath());
    if (!data) {
        return makeError(NSCocoaErrorDomain, NSFileReadUnknownError,
                         "cannot read " + asset->filePath());
    }
    return std::move(*data);
}

// An image file's bytes, their type and how they are shown.
struct TypedImageFile {
    ByteBuffer bytes;
    std::string type;
    UIImageOrientation orientation;
};

ErrorOr<TypedImageFile> readTypedImageFile(const std::shared_ptr<PHAsset>& asset) {
    auto read = readImageFile(asset);
    if (read.hasError()) {
        return read.error();
    }
    TypedImageFile file{std::move(read).value(), {}, UIImageOrientation::Up};
    switch (ImageDecoder::sniff(file.bytes.data(), file.bytes.size())) {
    case ImageFileType::JPEG:
        file.type = "public.jpeg";
        file.orientation = ImageOrientationFromExif(
            ExifReader::read(file.bytes.data(), file.bytes.size()).orientation);
        return file;
    case ImageFileType::PNG:
        file.type = "public.png";
        return file;
    case ImageFileType::Unknown:
        break;
    }
    return makeError(ImageCodecErrorDomain, ImageCodecErrorUnknownFormat, "not a PNG or JPEG file");
}

// The upright result, decoded straight to its size: the codecs scale the rows as they
// arrive, so memory follows the result, not the photo. Unless the size must be exact, a
// JPEG is the codec's own scaled decode, a little larger at most, with no second pass.
ErrorOr<CGImageRef> makeImage(const std::shared_ptr<PHAsset>& asset, CGSize targetSize,
                              PHImageContentMode contentMode,
                              PHImageRequestOptionsResizeMode resizeMode) {
    auto read = readImageFile(asset);
    if (read.hasError()) {
        return read.error();
    }
    const auto data = std::move(read).value();
    const auto header = PhotoFileHeader::readData(data.data(), data.size());
    if (!header) {
        return makeError(ImageCodecErrorDomain, ImageCodecErrorUnknownFormat,
                         "not a PNG or JPEG file we can read");
    }
    const auto geometry =
        ImageRequestGeometry::compute(*header, targetSize, contentMode, resizeMode);
    // The result before it is turned upright.
    const size_t width = header->isTransposed() ? geometry.height : geometry.width;
    const size_t height = header->isTransposed() ? geometry.width : geometry.height;
    const bool jpeg = header->imageType == ImageFileType::JPEG;
    auto pixels =
        jpeg && resizeMode != PHImageRequestOptionsResizeMode::Exact
            ? JPEGCodec::decodeScaled(data.data(), data.size(), geometry.minimumDecodeWidth,
                                      geometry.minimumDecodeHeight)
        : jpeg ? JPEGCodec::decodeToSize(data.data(), data.size(), geometry.storedSource, width,
                                         height)
               : PNGCodec::decodeToSize(data.data(), data.size(), geometry.storedSource, width,
                                        height);
    if (pixels.hasError()) {
        return pixels.error();
    }
    return CGImageCreateOriented(std::move(pixels).value(),
                                 ImageOrientationFromExif(header->exifOrientation));
}

PlistValue::Dictionary failureInfo(const std::shared_ptr<PHAsset>& asset, const NSError& error) {
    const std::string reason = error.localizedDescription();
    NSLog("PHImageManager: no image for %@: %@",
          asset ? asset->localIdentifier() : std::string("(null)"), reason);
    return {{PHImageErrorKey, reason}};
}

} // namespace

std::shared_ptr<PHImageManager> PHImageManager::defaultManager() {
    static const auto shared = make<PHCachingImageManager>();
    return shared;
}

void PHImageManager::resetForTesting() {
    const auto manager = defaultManager();
    {
        std::lock_guard lock(manager->mutex_);
        manager->pending_.clear();
    }
    ThumbnailCache::shared().removeAllFromMemory();
}

PHImageRequestID PHImageManager::requestImageForAssetTargetSizeContentModeOptionsResultHandler(
    const std::shared_ptr<PHAsset>& asset, CGSize targetSize, PHImageContentMode contentMode,
    const std::shared_ptr<PHImageRequestOptions>& options, ImageResultHandler resultHandler) {
    const auto resizeMode = options ? options->resizeMode() : PHImageRequestOptionsResizeMode::Fast;
    const bool synchronous = options && options->synchronous();
    const bool opportunistic =
        !synchronous &&
        (!options || options->deliveryMode() == PHImageRequestOptionsDeliveryMode::Opportunistic);
    auto handler = std::make_shared<ImageResultHandler>(std::move(resultHandler));
    auto answer = [handler](CGImageRef pixels, PlistValue::Dictionary info) -> Answer {
        auto image = pixels ? UIImage::imageWithCGImageScaleOrientation(std::move(pixels), 1,
                                                                        UIImageOrientation::Up)
                            : nullptr;
        return [handler, image = std::move(image), info = std::move(info)] {
            if (*handler) {
                (*handler)(image, info);
            }
        };
    };
    return submit(synchronous, [=](const std::function<void(Answer)>& earlyAnswer) -> Answer {
        const auto key =
            asset && asset->mediaType() == PHAssetMediaType::Image
                ? ThumbnailCache::keyFor(asset->filePath(), targetSize, contentMode, resizeMode)
                : std::nullopt;
        if (key) {
            if (auto cached = ThumbnailCache::shared().imageForKey(*key)) {
                return answer(std::move(cached), {});
            }
        }
        if (opportunistic && asset) {
            if (auto preview =
                    ExifThumbnail::imageForAsset(*asset, targetSize, contentMode, resizeMode)) {
                earlyAnswer(answer(std::move(preview), {{PHImageResultIsDegradedKey, true}}));
            }
        }
        auto pixels = makeImage(asset, targetSize, contentMode, resizeMode);
        if (pixels.hasError()) {
            return answer(nullptr, failureInfo(asset, *pixels.error()));
        }
        if (key) {
            ThumbnailCache::shared().storeImageForKey(pixels.value(), *key);
        }
        return answer(std::move(pixels).value(), {});
    });
}

PHImageRequestID PHImageManager::requestImageDataForAssetOptionsResultHandler(
    const std::shared_ptr<PHAsset>& asset, const std::shared_ptr<PHImageRequestOptions>& options,
    ImageDataResultHandler resultHandler) {
    return submit(options && options->synchronous(),
                  [asset, handler = std::move(resultHandler)](
                      const std::function<void(Answer)>&) mutable -> Answer {
                      auto file = readTypedImageFile(asset);
                      auto info = file.hasError() ? failureInfo(asset, *file.error())
                                                  : PlistValue::Dictionary{};
                      return [handler = std::move(handler), file = std::move(file),
                              info = std::move(info)]() mutable {
                          if (!handler) {
                              return;
                          }
                          if (file.hasError()) {
                              handler(std::nullopt, "", UIImageOrientation::Up, info);
                              return;
                          }
                          auto& typed = file.value();
                          handler(std::move(typed.bytes), typed.type, typed.orientation, info);
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

bool PHImageManager::isPending(PHImageRequestID requestID) {
    std::lock_guard lock(mutex_);
    return pending_.contains(requestID);
}

PHImageRequestID
PHImageManager::submit(bool synchronous,
                       std::function<Answer(const std::function<void(Answer)>& earlyAnswer)> work) {
    PHImageRequestID requestID;
    {
        std::lock_guard lock(mutex_);
        requestID = lastRequestID_ = lastRequestID_ == INT32_MAX ? 1 : lastRequestID_ + 1;
        pending_.insert(requestID);
    }
    if (synchronous) {
        auto answer = work([&](const Answer& early) {
            if (isPending(requestID)) {
                early();
            }
        });
        if (finish(requestID)) {
            answer();
        }
        return requestID;
    }
    auto self = this->self<PHImageManager>();
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                   [self, requestID, work = std::move(work)] {
                       if (!self->isPending(requestID)) {
                           return; // cancelled before it started
                       }
                       auto early = [&](Answer answer) {
                           dispatch_async(dispatch_get_main_queue(),
                                          [self, requestID, answer = std::move(answer)] {
                                              if (self->isPending(requestID)) {
                                                  answer();
                                              }
                                          });
                       };
                       dispatch_async(dispatch_get_main_queue(),
                                      [self, requestID, answer = work(early)] {
                                          if (self->finish(requestID)) {
                                              answer();
                                          }
                                      });
                   });
    return requestID;
}
