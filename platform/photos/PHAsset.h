// A photo or video of the library: one file in the library folder (or the home's Album
// folder), described from its header and EXIF block.
#pragma once

#include "platform/foundation/NSDate.h"
#include "platform/photos/PHFetchResult.h"
#include "platform/photos/PHObject.h"
#include "platform/photos/PhotosTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class PHAssetCollection;
class PHFetchOptions;
struct PhotoFileHeader;

class PHAsset : public PHObject {
    NS_OBJECT(PHAsset)
public:
    // The asset the file at `path` makes, or null when it is not an image or video we can
    // read (platform-internal: the library scan makes assets).
    static std::shared_ptr<PHAsset> assetWithFileLocalIdentifier(const std::string& path,
                                                                 std::string localIdentifier);
    // The asset of a file whose header was already read (platform-internal).
    static std::shared_ptr<PHAsset> assetWithFileHeader(const std::string& path,
                                                        std::string localIdentifier,
                                                        const PhotoFileHeader& header,
                                                        NSDate modificationDate);

    // The collection's assets; nothing for a null collection or when the app may not see
    // the library.
    static PHFetchResult<PHAsset>
    fetchAssetsInAssetCollectionOptions(const std::shared_ptr<PHAssetCollection>& collection,
                                        const std::shared_ptr<PHFetchOptions>& options);
    // Every asset of the library.
    static PHFetchResult<PHAsset>
    fetchAssetsWithOptions(const std::shared_ptr<PHFetchOptions>& options);

    PHAssetMediaType mediaType() const { return mediaType_; }
    // As shown, after the EXIF orientation; 0 for a video.
    size_t pixelWidth() const { return pixelWidth_; }
    size_t pixelHeight() const { return pixelHeight_; }
    // When the photo was taken (the EXIF date, read as UTC), else the file's modification
    // time.
    NSDate creationDate() const { return creationDate_; }
    NSDate modificationDate() const { return modificationDate_; }
    // Where the file is (platform-internal).
    const std::string& filePath() const { return filePath_; }
    // Where the file's EXIF block lies, for its embedded thumbnail; a length of 0 when
    // there is none (platform-internal).
    uint64_t exifBlockOffset() const { return exifBlockOffset_; }
    size_t exifBlockLength() const { return exifBlockLength_; }

private:
    PHAsset(std::string localIdentifier, std::string filePath, PHAssetMediaType mediaType,
            size_t pixelWidth, size_t pixelHeight, NSDate creationDate, NSDate modificationDate);

    std::string filePath_;
    PHAssetMediaType mediaType_;
    size_t pixelWidth_;
    size_t pixelHeight_;
    NSDate creationDate_;
    NSDate modificationDate_;
    uint64_t exifBlockOffset_ = 0;
    size_t exifBlockLength_ = 0;
};
