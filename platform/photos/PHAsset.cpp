#include "platform/photos/PHAsset.h"

#include "platform/photos/PHAssetCollection.h"
#include "platform/photos/PHFetchOptions.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/photos/PhotoFileHeader.h"
#include "platform/photos/PhotoHeaderCache.h"
#include "platform/photos/PhotoLibraryContents.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/stat.h>

namespace {

// "YYYY:MM:DD HH:MM:SS" (its shape checked by the EXIF reader) as a UTC time: a camera
// records its local time without a zone, and UTC keeps the date the same on every host.
std::optional<NSDate> dateFromExif(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%4d:%2d:%2d %2d:%2d:%2d", &year, &month, &day, &hour, &minute,
                    &second) != 6) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok() || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    const auto days = std::chrono::sys_days(date).time_since_epoch().count();
    return NSDate::dateWithTimeIntervalSince1970(double(days) * 86400 + hour * 3600 + minute * 60 +
                                                 second);
}

std::string fileName(const std::string& identifier) {
    return identifier.substr(identifier.rfind('/') + 1);
}

// Negative, zero or positive as `a` comes before, with or after `b` under `descriptor`;
// zero for keys we do not sort by.
int compareBy(const NSSortDescriptor& descriptor, const PHAsset& a, const PHAsset& b) {
    NSDate first, second;
    if (descriptor.key == "creationDate") {
        first = a.creationDate(), second = b.creationDate();
    } else if (descriptor.key == "modificationDate") {
        first = a.modificationDate(), second = b.modificationDate();
    } else {
        return 0;
    }
    const int order = first < second ? -1 : second < first ? 1 : 0;
    return descriptor.ascending ? order : -order;
}

PHFetchResult<PHAsset> applyOptions(std::vector<std::shared_ptr<PHAsset>> assets,
                                    const std::shared_ptr<PHFetchOptions>& options) {
    if (options && options->predicateMediaType()) {
        std::erase_if(assets, [&](const auto& asset) {
            return asset->mediaType() != *options->predicateMediaType();
        });
    }
    static const std::vector<NSSortDescriptor> oldestFirst{{"creationDate", true}};
    const auto& descriptors =
        options && !options->sortDescriptors().empty() ? options->sortDescriptors() : oldestFirst;
    std::sort(assets.begin(), assets.end(), [&](const auto& a, const auto& b) {
        for (const auto& descriptor : descriptors) {
            if (int order = compareBy(descriptor, *a, *b)) {
                return order < 0;
            }
        }
        const auto nameA = fileName(a->localIdentifier()), nameB = fileName(b->localIdentifier());
        return nameA != nameB ? nameA < nameB : a->localIdentifier() < b->localIdentifier();
    });
    return PHFetchResult<PHAsset>(std::move(assets));
}

} // namespace

PHAsset::PHAsset(std::string localIdentifier, std::string filePath, PHAssetMediaType mediaType,
                 size_t pixelWidth, size_t pixelHeight, NSDate creationDate,
                 NSDate modificationDate)
    : PHObject(std::move(localIdentifier)), filePath_(std::move(filePath)), mediaType_(mediaType),
      pixelWidth_(pixelWidth), pixelHeight_(pixelHeight), creationDate_(creationDate),
      modificationDate_(modificationDate) {}

std::shared_ptr<PHAsset> PHAsset::assetWithFileLocalIdentifier(const std::string& path,
                                                               std::string localIdentifier) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) {
        return nullptr;
    }
    const auto header = PhotoFileHeader::readFile(path);
    if (!header) {
        return nullptr;
    }
    return assetWithFileHeader(path, std::move(localIdentifier), *header,
                               PhotoHeaderCache::FileStamp::ofStatus(status).modificationDate());
}

std::shared_ptr<PHAsset> PHAsset::assetWithFileHeader(const std::string& path,
                                                      std::string localIdentifier,
                                                      const PhotoFileHeader& header,
                                                      NSDate modificationDate) {
    std::optional<NSDate> taken;
    if (header.dateTimeOriginal) {
        taken = dateFromExif(*header.dateTimeOriginal);
    }
    const bool video = header.kind == PhotoFileHeader::Kind::Video;
    auto asset = make<PHAsset>(std::move(localIdentifier), path,
                               video ? PHAssetMediaType::Video : PHAssetMediaType::Image,
                               header.uprightWidth(), header.uprightHeight(),
                               taken.value_or(modificationDate), modificationDate);
    asset->exifBlockOffset_ = header.exifBlockOffset;
    asset->exifBlockLength_ = header.exifBlockLength;
    return asset;
}

PHFetchResult<PHAsset>
PHAsset::fetchAssetsInAssetCollectionOptions(const std::shared_ptr<PHAssetCollection>& collection,
                                             const std::shared_ptr<PHFetchOptions>& options) {
    const auto contents = PHPhotoLibrary::contents();
    if (!contents || !collection) {
        return {};
    }
    return applyOptions(collection->assetsIn(*contents), options);
}

PHFetchResult<PHAsset>
PHAsset::fetchAssetsWithOptions(const std::shared_ptr<PHFetchOptions>& options) {
    const auto contents = PHPhotoLibrary::contents();
    return contents ? applyOptions(contents->assets(), options) : PHFetchResult<PHAsset>();
}
