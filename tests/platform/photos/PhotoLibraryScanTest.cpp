#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHAssetCollection.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/photos/PhotoHeaderCache.h"
#include "platform/photos/PhotoLibraryContents.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

namespace {

std::vector<std::string> identifiersOf(const PhotoLibraryContents::Assets& assets) {
    std::vector<std::string> identifiers;
    for (const auto& asset : assets) {
        identifiers.push_back(asset->localIdentifier());
    }
    return identifiers;
}

std::string cacheFile() {
    return NSHomeDirectory() + "/Library/Caches/" + PhotoHeaderCache::kFileName;
}

class PhotoLibraryScanTest : public PhotoLibraryTest {
protected:
    // A scan made now, as the next fetch would make it.
    std::shared_ptr<const PhotoLibraryContents> rescan() {
        PHPhotoLibrary::reloadLibrary();
        return PHPhotoLibrary::contents();
    }
    // The files the saved cache has entries for.
    std::vector<std::string> cachedFiles() {
        std::vector<std::string> files;
        const auto stored =
            NSPropertyListSerialization::propertyListWithContentsOfFile(cacheFile(), nullptr);
        if (stored && stored->dictionary()) {
            for (const auto& [file, entry] : *stored->dictionary()) {
                files.push_back(file.substr(library_.path().size() + 1));
            }
        }
        return files;
    }
};

TEST_F(PhotoLibraryScanTest,
       TheFirstAlbumFetchedReadsOnlyItsOwnHeadersTheRestFollowInTheBackground) {
    for (int i = 0; i < 3; ++i) {
        libraryFile("Beach/photo" + std::to_string(i) + ".jpg", photoJpeg(40, 30));
    }
    libraryFile("Snow/a.jpg", photoJpeg(30, 40));
    libraryFile("Snow/b.jpg", photoJpeg(30, 40));
    const auto contents = rescan();
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->albums().size(), 2u);
    EXPECT_EQ(contents->headerCache().filesRead(), 0u) << "listing reads no header";

    const auto beach = PHAsset::fetchAssetsInAssetCollectionOptions(
        PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
            PHAssetCollectionType::Album, PHAssetCollectionSubtype::Any, nullptr)
            .firstObject(),
        nullptr);
    EXPECT_EQ(beach.count(), 3u);
    EXPECT_EQ(contents->headerCache().filesRead(), 3u);
    EXPECT_FALSE(std::filesystem::exists(cacheFile()));

    environment_.runUntilIdle();
    EXPECT_EQ(contents->headerCache().filesRead(), 5u) << "each header read once";
    EXPECT_EQ(cachedFiles(),
              (std::vector<std::string>{"Beach/photo0.jpg", "Beach/photo1.jpg", "Beach/photo2.jpg",
                                        "Snow/a.jpg", "Snow/b.jpg"}));
}

TEST_F(PhotoLibraryScanTest, ALaterScanReadsOnlyTheFilesThatChanged) {
    libraryFile("Trip/a.jpg", photoJpeg(40, 30, 6, "2026:01:02 10:00:00"));
    const std::string b = libraryFile("Trip/b.jpg", photoJpeg(30, 40));
    const std::string c = libraryFile("Trip/c.jpg", photoJpeg(20, 20));
    const std::string notes = libraryFile("Trip/notes.jpg", {'n', 'o', 't', 'e', 's'});
    libraryFile("loose.png", translucentPng(10, 10));
    const auto first = rescan();
    const auto firstAssets = first->assets();
    environment_.runUntilIdle();
    EXPECT_EQ(first->headerCache().filesRead(), 5u);

    // Unchanged: the same assets, described the same, and no file opened.
    const auto second = rescan();
    ASSERT_EQ(identifiersOf(second->assets()), identifiersOf(firstAssets));
    for (size_t i = 0; i < firstAssets.size(); ++i) {
        const auto &was = *firstAssets[i], &is = *second->assets()[i];
        EXPECT_EQ(is.pixelWidth(), was.pixelWidth()) << is.localIdentifier();
        EXPECT_EQ(is.pixelHeight(), was.pixelHeight());
        EXPECT_EQ(is.creationDate(), was.creationDate());
        EXPECT_EQ(is.modificationDate(), was.modificationDate());
        EXPECT_EQ(is.mediaType(), was.mediaType());
    }
    EXPECT_EQ(identifiersOf(second->assets()),
              (std::vector<std::string>{"Trip/a.jpg", "Trip/b.jpg", "Trip/c.jpg", "loose.png"}));
    EXPECT_EQ(second->headerCache().filesRead(), 0u);
    environment_.runUntilIdle();

    // Rewritten with another size, touched, made a photo, removed: read again or dropped.
    writeBytes(b, photoJpeg(60, 40));
    setModificationDate(c, NSDate::dateWithTimeIntervalSince1970(1'600'000'000));
    writeBytes(notes, photoJpeg(12, 12));
    std::filesystem::remove(library_.file("loose.png"));
    const auto third = rescan();
    ASSERT_EQ(
        identifiersOf(third->assets()),
        (std::vector<std::string>{"Trip/a.jpg", "Trip/b.jpg", "Trip/c.jpg", "Trip/notes.jpg"}));
    EXPECT_EQ(third->assets()[1]->pixelWidth(), 60u);
    EXPECT_EQ(third->assets()[2]->modificationDate().timeIntervalSince1970(), 1'600'000'000);
    EXPECT_EQ(third->headerCache().filesRead(), 3u);
    environment_.runUntilIdle();
    EXPECT_EQ(cachedFiles(), (std::vector<std::string>{"Trip/a.jpg", "Trip/b.jpg", "Trip/c.jpg",
                                                       "Trip/notes.jpg"}));
}

TEST_F(PhotoLibraryScanTest, FilesDatedBefore1970AreKnownFromTheCacheToo) {
    const double dates[] = {-86400.0 * 365 * 30, -1, 0, 1'600'000'000};
    for (size_t i = 0; i < std::size(dates); ++i) {
        setModificationDate(libraryFile("Old/" + std::to_string(i) + ".jpg", photoJpeg(8, 8)),
                            NSDate::dateWithTimeIntervalSince1970(dates[i]));
    }
    const auto first = rescan();
    ASSERT_EQ(first->assets().size(), std::size(dates));
    environment_.runUntilIdle();
    const auto second = rescan();
    ASSERT_EQ(second->assets().size(), std::size(dates));
    EXPECT_EQ(second->headerCache().filesRead(), 0u);
    for (size_t i = 0; i < std::size(dates); ++i) {
        EXPECT_EQ(second->assets()[i]->modificationDate().timeIntervalSince1970(), dates[i]);
    }
}

TEST_F(PhotoLibraryScanTest, ADamagedCacheIsReadAgainFromTheFiles) {
    const std::string photo = libraryFile("Trip/a.jpg", photoJpeg(40, 30));
    rescan()->assets();
    environment_.runUntilIdle();
    const auto good =
        NSPropertyListSerialization::propertyListWithContentsOfFile(cacheFile(), nullptr);
    ASSERT_TRUE(good && good->dictionary() && good->dictionary()->contains(photo));
    const PlistValue::Array entry = *good->dictionary()->at(photo).array();

    // Each damaged entry is read again from the file; a file that is no property list is
    // ignored with a word in the log.
    auto replaced = [&](size_t field, PlistValue value) {
        auto fields = entry;
        fields.at(field) = std::move(value);
        return PlistValue(PlistValue::Dictionary{{photo, fields}});
    };
    const struct {
        const char* what;
        std::optional<PlistValue> stored;
    } cases[] = {
        {"not a property list", std::nullopt},
        {"an entry of the wrong shape", PlistValue(PlistValue::Dictionary{{photo, "photo"}})},
        {"a field missing", PlistValue(PlistValue::Dictionary{
                                {photo, PlistValue::Array(entry.begin(), entry.end() - 1)}})},
        {"an unknown kind", replaced(2, 7)},
        {"an orientation out of range", replaced(6, 9)},
        {"a negative width", replaced(4, -40)},
        {"a width past any picture's", replaced(4, 3'000'000'000)},
        {"a text for a number", replaced(5, "30")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bytes = c.stored ? *NSPropertyListSerialization::dataWithPropertyList(
                                          *c.stored, NSPropertyListFormat::Binary, nullptr)
                                    : std::vector<uint8_t>{'d', 'a', 'm', 'a', 'g', 'e', 'd'};
        NSData::writeToFileAtomically(bytes, cacheFile());
        log_.clear();
        const auto contents = rescan();
        ASSERT_EQ(contents->assets().size(), 1u);
        EXPECT_EQ(contents->assets()[0]->pixelWidth(), 40u);
        EXPECT_EQ(contents->assets()[0]->pixelHeight(), 30u);
        EXPECT_EQ(contents->headerCache().filesRead(), 1u);
        EXPECT_EQ(log_.size(), c.stored ? 0u : 1u);
        environment_.runUntilIdle();
    }
}

TEST(PhotoLibraryScanThreaded, FetchesOnManyThreadsShareOneReadOfEachHeader) {
    TaskEnvironment environment;
    TestHome home;
    TempFolder library;
    constexpr int kAlbums = 4, kPhotos = 6;
    for (int album = 0; album < kAlbums; ++album) {
        for (int i = 0; i < kPhotos; ++i) {
            writeBytes(
                library.file("Album" + std::to_string(album) + "/" + std::to_string(i) + ".jpg"),
                photoJpeg(8 + size_t(i), 8));
        }
    }
    PHPhotoLibrary::configure(library.path(), PHAccessAnswer::Granted);
    PHPhotoLibrary::requestAuthorization(nullptr);
    environment.runUntilIdle();

    const auto albums = PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
        PHAssetCollectionType::Album, PHAssetCollectionSubtype::Any, nullptr);
    ASSERT_EQ(albums.count(), size_t(kAlbums));
    std::atomic<int> wrongCounts = 0;
    for (int round = 0; round < 3; ++round) {
        for (const auto& album : albums) {
            dispatch_async(
                dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                [album, &wrongCounts] {
                    if (PHAsset::fetchAssetsInAssetCollectionOptions(album, nullptr).count() !=
                        kPhotos) {
                        ++wrongCounts;
                    }
                });
        }
        dispatch_async(
            dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [&wrongCounts] {
                if (PHAsset::fetchAssetsWithOptions(nullptr).count() != kAlbums * kPhotos) {
                    ++wrongCounts;
                }
            });
    }
    environment.runUntilIdle();
    EXPECT_EQ(wrongCounts, 0);
    EXPECT_EQ(PHPhotoLibrary::contents()->headerCache().filesRead(), size_t(kAlbums * kPhotos));
    EXPECT_TRUE(std::filesystem::is_regular_file(cacheFile()));
    PHPhotoLibrary::configure("", PHAccessAnswer::Ask);
}

} // namespace
