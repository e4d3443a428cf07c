#include "platform/photos/ThumbnailCache.h"

#include "platform/foundation/NSPathUtilities.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace {

class ThumbnailCacheTest : public PhotoLibraryTest {
protected:
    std::shared_ptr<PHAsset> onlyAsset() {
        PHPhotoLibrary::reloadLibrary();
        return PHAsset::fetchAssetsWithOptions(nullptr).firstObject();
    }
    // The answers of one asynchronous request: (image, degraded) in order.
    std::vector<std::pair<CGImageRef, bool>> requestNow(const std::shared_ptr<PHAsset>& asset,
                                                        CGSize target) {
        auto options = std::make_shared<PHImageRequestOptions>();
        options->setResizeMode(PHImageRequestOptionsResizeMode::Exact);
        std::vector<std::pair<CGImageRef, bool>> answers;
        PHImageManager::defaultManager()
            ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                asset, target, PHImageContentMode::AspectFill, options,
                [&](const std::shared_ptr<UIImage>& image, const PlistValue::Dictionary& info) {
                    answers.emplace_back(image ? image->cgImage() : nullptr,
                                         info.contains(PHImageResultIsDegradedKey));
                });
        environment_.runUntilIdle();
        return answers;
    }
    // Overwrites the file's picture with zeros, keeping its size and modification time:
    // only a cached answer can still show it.
    void spoilKeepingItsStamp(const std::string& path) {
        struct stat before;
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        writeBytes(path, std::vector<uint8_t>(size_t(before.st_size), 0));
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    size_t filesOnDisk() {
        const std::string folder = NSHomeDirectory() + "/Library/Caches/Thumbnails";
        std::error_code ec;
        size_t count = 0;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            ++count;
        }
        return count;
    }
};

TEST_F(ThumbnailCacheTest, AThumbnailShownAgainComesFromMemoryThenFromDiskFinalAtOnce) {
    const std::string path =
        libraryFile("camera.jpg", photoJpegWithThumbnail(400, 300, 0, 160, 120));
    const auto asset = onlyAsset();
    const auto first = requestNow(asset, {64, 64});
    ASSERT_EQ(first.size(), 2u) << "a preview, then the decoded thumbnail";
    ASSERT_TRUE(first[1].first);
    EXPECT_EQ(filesOnDisk(), 1u);

    spoilKeepingItsStamp(path);
    const auto fromMemory = requestNow(asset, {64, 64});
    ASSERT_EQ(fromMemory.size(), 1u);
    EXPECT_EQ(fromMemory[0].first, first[1].first) << "the very image kept in memory";
    EXPECT_FALSE(fromMemory[0].second);

    ThumbnailCache::shared().removeAllFromMemory(); // as after a relaunch
    const auto fromDisk = requestNow(asset, {64, 64});
    ASSERT_EQ(fromDisk.size(), 1u);
    ASSERT_TRUE(fromDisk[0].first);
    EXPECT_FALSE(fromDisk[0].second);
    EXPECT_EQ(fromDisk[0].first->width(), 64u);
    EXPECT_EQ(fromDisk[0].first->height(), 64u);
    for (auto [x, y] : {std::pair(4, 4), {59, 4}, {4, 59}, {59, 59}}) {
        EXPECT_EQ(fromDisk[0].first->pixelAt(size_t(x), size_t(y)) & 0xf0f0f0f0,
                  first[1].first->pixelAt(size_t(x), size_t(y)) & 0xf0f0f0f0);
    }
}

TEST_F(ThumbnailCacheTest, AnotherVersionOrShapeOfRequestMisses) {
    const std::string path = libraryFile("photo.jpg", photoJpeg(400, 300));
    const auto asset = onlyAsset();
    ASSERT_EQ(requestNow(asset, {64, 64}).size(), 1u);

    // Another target size misses; so does a screen-sized one, which is never kept.
    spoilKeepingItsStamp(path);
    for (CGSize target : {CGSize{32, 32}, CGSize{750, 1334}}) {
        SCOPED_TRACE(NSStringFromCGSize(target));
        const auto answers = requestNow(asset, target);
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_FALSE(answers[0].first) << "decoded from the spoilt file";
    }
    // The file rewritten (its time moves on): the old thumbnail is not shown for it.
    setModificationDate(path, NSDate::dateWithTimeIntervalSince1970(1'700'000'000));
    const auto answers = requestNow(asset, {64, 64});
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_FALSE(answers[0].first);
}

TEST_F(ThumbnailCacheTest, ADamagedDiskEntryIsAMiss) {
    libraryFile("photo.jpg", photoJpeg(400, 300));
    const auto asset = onlyAsset();
    ASSERT_EQ(requestNow(asset, {64, 64}).size(), 1u);
    const std::string folder = NSHomeDirectory() + "/Library/Caches/Thumbnails";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        writeBytes(entry.path().string(), {'M', 'P', 'T', '1', 200, 0, 0, 0, 'x'});
    }
    ThumbnailCache::shared().removeAllFromMemory();
    const auto answers = requestNow(asset, {64, 64});
    ASSERT_EQ(answers.size(), 1u);
    ASSERT_TRUE(answers[0].first) << "decoded again from the photo";
    EXPECT_EQ(answers[0].first->width(), 64u);
}

TEST_F(ThumbnailCacheTest, DiskCopiesStayWithinTheirBudgetOldestOutFirst) {
    ThumbnailCache& cache = ThumbnailCache::shared();
    const auto picture = makeImage(48, 48, CGImagePixelFormat::RGB24, [](size_t x, size_t y) {
        return 0xff000000u | uint32_t(x * 5) << 16 | uint32_t(y * 5);
    });
    const std::string folder = NSHomeDirectory() + "/Library/Caches/Thumbnails";
    auto folderBytes = [&] {
        uintmax_t total = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            total += entry.file_size();
        }
        return total;
    };
    // Every entry written before the next is made older, so that their ages differ
    // however coarse the file system's clock is.
    auto ageEverything = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::filesystem::last_write_time(entry.path(),
                                             entry.last_write_time() - std::chrono::seconds(10));
        }
    };
    cache.storeImageForKey(picture, "entry 0");
    const uintmax_t entryBytes = folderBytes();
    ASSERT_GT(entryBytes, 0u);
    // Room for three and a half: the fourth write trims to two, as does the sixth.
    struct Budget {
        ~Budget() { ThumbnailCache::shared().setDiskBudgetBytes(ThumbnailCache::kDiskBudgetBytes); }
    } restore;
    cache.setDiskBudgetBytes(entryBytes * 7 / 2);
    for (int i = 1; i < 6; ++i) {
        ageEverything();
        cache.storeImageForKey(picture, "entry " + std::to_string(i));
        EXPECT_LE(folderBytes(), entryBytes * 7 / 2) << "after entry " << i;
    }
    cache.removeAllFromMemory();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(cache.imageForKey("entry " + std::to_string(i)) != nullptr, i >= 4)
            << "entry " << i;
    }
}

} // namespace
