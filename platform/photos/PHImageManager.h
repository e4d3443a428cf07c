// Turns library assets into images at the size a view needs (decoding no more of the
// photo than that takes) or hands out their files' bytes. Works on a global queue and
// answers on the main queue.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/DefaultInitAllocator.h"
#include "platform/foundation/PlistValue.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIImage.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

class PHAsset;
class PHImageRequestOptions;

enum class PHImageContentMode { AspectFit = 0, AspectFill = 1, Default = AspectFit };

using PHImageRequestID = int32_t;
inline constexpr PHImageRequestID PHInvalidImageRequestID = 0;
// As a target size: the photo's own size.
inline constexpr CGSize PHImageManagerMaximumSize{-1, -1};
// In a result's info when it failed: what went wrong, as text.
inline constexpr const char* PHImageErrorKey = "PHImageErrorKey";
// In a result's info, true: a quick, low-quality picture; the final one follows.
inline constexpr const char* PHImageResultIsDegradedKey = "PHImageResultIsDegradedKey";
// The domain of the library's own refusals, and the code for asking an image of what is
// not an image asset.
inline constexpr const char* PHPhotosErrorDomain = "PHPhotosErrorDomain";
enum : long { PHPhotosErrorRequestNotSupportedForAsset = 3306 };

class PHImageManager : public NSObject {
    NS_OBJECT(PHImageManager)
public:
    using ImageResultHandler =
        std::function<void(std::shared_ptr<UIImage> image, const PlistValue::Dictionary& info)>;
    using ImageDataResultHandler =
        std::function<void(std::optional<ByteBuffer> data, const std::string& dataUTI,
                           UIImageOrientation orientation, const PlistValue::Dictionary& info)>;

    // The shared manager (a PHCachingImageManager).
    static std::shared_ptr<PHImageManager> defaultManager();
    // The shared manager forgets its pending requests, so none of them answers (between
    // tests).
    static void resetForTesting();

    // Answers with an upright image (scale 1) sized by ImageRequestGeometry, or null with
    // PHImageErrorKey in the info (and a log line) when the file cannot be read or decoded.
    // Unless the resize mode is Exact, a JPEG may come somewhat larger: at the smallest of
    // the codec's own scales that has the size, which costs no resampling.
    // An asynchronous opportunistic request whose photo embeds a preview answers twice:
    // that preview first (PHImageResultIsDegradedKey), then the final image; every other
    // request answers once. Thumbnail-sized results are cached (ThumbnailCache), and a
    // cached one is answered at once, final. Null options are the defaults.
    PHImageRequestID requestImageForAssetTargetSizeContentModeOptionsResultHandler(
        const std::shared_ptr<PHAsset>& asset, CGSize targetSize, PHImageContentMode contentMode,
        const std::shared_ptr<PHImageRequestOptions>& options, ImageResultHandler resultHandler);
    // Answers once with the file's bytes, their type ("public.jpeg", "public.png") and
    // the EXIF orientation, or nothing and PHImageErrorKey.
    PHImageRequestID requestImageDataForAssetOptionsResultHandler(
        const std::shared_ptr<PHAsset>& asset,
        const std::shared_ptr<PHImageRequestOptions>& options,
        ImageDataResultHandler resultHandler);
    // A cancelled request does not answer. Unknown or finished requests are ignored.
    void cancelImageRequest(PHImageRequestID requestID);

protected:
    PHImageManager() = default;

private:
    using Answer = std::function<void()>;
    // Runs `work` (on a global queue, or here when synchronous); what it returns is the
    // last answer, run on the main queue (or here) unless the request was cancelled
    // meanwhile. Answers it hands to `earlyAnswer` before run the same way, in order,
    // and leave the request pending.
    PHImageRequestID
    submit(bool synchronous,
           std::function<Answer(const std::function<void(Answer)>& earlyAnswer)> work);
    bool isPending(PHImageRequestID requestID);
    // Whether the request was still pending; it no longer is.
    bool finish(PHImageRequestID requestID);

    std::mutex mutex_;
    std::set<PHImageRequestID> pending_;
    PHImageRequestID lastRequestID_ = PHInvalidImageRequestID;
};
