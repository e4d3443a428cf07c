#include "platform/photos/PHAsset.h"

#include "platform/photos/PHAssetCollection.h"
#include "platform/photos/PHFetchOptions.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::vector<std::string> identifiersOf(const PHFetchResult<PHAsset>& result) {
    std::vector<std::string> identifiers;
    for (const auto& asset : result) {
        identifiers.push_back(asset->localIdentifier());
    }
    return identifiers;
}

std::shared_ptr<PHFetchOptions> sortedBy(const std::string& key, bool ascending) {
    auto options = std::make_shared<PHFetchOptions>();
    options->setSortDescriptors({NSSortDescriptor::sortDescriptorWithKeyAscending(key, ascending)});
    return options;
}

NSDate utc(double secondsSince1970) {
    return NSDate::dateWithTimeIntervalSince1970(secondsSince1970);
}

using PHAssetTest = PhotoLibraryTest;

TEST_F(PHAssetTest, AssetsSortByDateWithTheEXIFDateBeforeTheFileTime) {
    const double day = 86400, t2020 = 1577836800; // 2020-01-01 00:00:00 UTC
    // taken 2020-01-03 12:00, written much later
    ASSERT_NO_FATAL_FAILURE(
        setModificationDate(libraryFile("b/taken.jpg", photoJpeg(8, 8, 1, "2020:01:03 12:00:00")),
                            utc(t2020 + 400 * day)));
    // the same moment, in a file whose name comes first
    ASSERT_NO_FATAL_FAILURE(
        setModificationDate(libraryFile("z/same.jpg", photoJpeg(8, 8, 1, "2020:01:03 12:00:00")),
                            utc(t2020 + 300 * day)));
    ASSERT_NO_FATAL_FAILURE(
        setModificationDate(libraryFile("plain.png", translucentPng(4, 4)), utc(t2020 + 1 * day)));
    ASSERT_NO_FATAL_FAILURE(
        setModificationDate(libraryFile("clip.mp4", videoBytes()), utc(t2020 + 5 * day)));
    // a date no calendar has: the file time counts
    ASSERT_NO_FATAL_FAILURE(setModificationDate(
        libraryFile("bogus.jpg", photoJpeg(8, 8, 1, "2020:02:31 10:00:00")), utc(t2020 + 4 * day)));

    const std::vector<std::string> byCreation{"plain.png", "z/same.jpg", "b/taken.jpg", "bogus.jpg",
                                              "clip.mp4"};
    EXPECT_EQ(identifiersOf(PHAsset::fetchAssetsWithOptions(nullptr)), byCreation)
        << "oldest first by default";
    EXPECT_EQ(identifiersOf(PHAsset::fetchAssetsWithOptions(sortedBy("creationDate", true))),
              byCreation);
    EXPECT_EQ(identifiersOf(PHAsset::fetchAssetsWithOptions(sortedBy("creationDate", false))),
              (std::vector<std::string>{"clip.mp4", "bogus.jpg", "z/same.jpg", "b/taken.jpg",
                                        "plain.png"}))
        << "equal dates stay in file name order";
    EXPECT_EQ(identifiersOf(PHAsset::fetchAssetsWithOptions(sortedBy("modificationDate", false))),
              (std::vector<std::string>{"b/taken.jpg", "z/same.jpg", "clip.mp4", "bogus.jpg",
                                        "plain.png"}));

    const auto assets = PHAsset::fetchAssetsWithOptions(nullptr);
    const auto taken = assets.objectAtIndex(2);
    EXPECT_EQ(taken->creationDate(), utc(t2020 + 2.5 * day));
    EXPECT_EQ(taken->modificationDate(), utc(t2020 + 400 * day));
    EXPECT_EQ(assets.objectAtIndex(0)->creationDate(), utc(t2020 + 1 * day));
    EXPECT_EQ(assets.lastObject()->mediaType(), PHAssetMediaType::Video);
    EXPECT_EQ(assets.firstObject()->mediaType(), PHAssetMediaType::Image);

    auto photosOnly = sortedBy("creationDate", true);
    photosOnly->setPredicateMediaType(PHAssetMediaType::Image);
    EXPECT_EQ(identifiersOf(PHAsset::fetchAssetsWithOptions(photosOnly)),
              (std::vector<std::string>{"plain.png", "z/same.jpg", "b/taken.jpg", "bogus.jpg"}));
    const auto collection =
        PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
            PHAssetCollectionType::Album, PHAssetCollectionSubtype::Any, nullptr)
            .lastObject();
    EXPECT_EQ(identifiersOf(PHAsset::fetchAssetsInAssetCollectionOptions(collection, photosOnly)),
              std::vector<std::string>{"z/same.jpg"});
}

TEST_F(PHAssetTest, AssetsDescribeTheirFilesAsShown) {
    const std::string path = libraryFile("trip/turned.jpg", photoJpeg(40, 30, 6));
    libraryFile("trip/clip.m4v", videoBytes());
    const auto assets = PHAsset::fetchAssetsWithOptions(nullptr);
    ASSERT_EQ(assets.count(), 2u);
    const auto photo = assets.objectAtIndex(
        assets.objectAtIndex(0)->mediaType() == PHAssetMediaType::Image ? 0 : 1);
    EXPECT_EQ(photo->localIdentifier(), "trip/turned.jpg");
    EXPECT_EQ(photo->filePath(), path);
    EXPECT_EQ(photo->pixelWidth(), 30u);
    EXPECT_EQ(photo->pixelHeight(), 40u);
    EXPECT_EQ(photo->description(), "<PHAsset trip/turned.jpg>");

    EXPECT_FALSE(assets.objectAtIndex(2));
    const PHFetchResult<PHAsset> none;
    EXPECT_EQ(none.count(), 0u);
    EXPECT_FALSE(none.firstObject());
    EXPECT_FALSE(none.lastObject());
    EXPECT_EQ(none.begin(), none.end());
}

TEST_F(PHAssetTest, OnlyReadableImagesAndVideosInsideTheLibraryAreAssets) {
    namespace fs = std::filesystem;
    TempFolder outside;
    const auto photo = photoJpeg(8, 8);
    libraryFile("photo.jpg", photo);
    libraryFile(".hidden.jpg", photo);
    libraryFile("empty.jpg", {});
    libraryFile("text.jpg", {'h', 'e', 'l', 'l', 'o'});
    libraryFile("cut.jpg", std::vector<uint8_t>(photo.begin(), photo.begin() + 30));
    writeBytes(outside.file("far.jpg"), photo);
    writeBytes(outside.file("elsewhere/far.jpg"), photo);
    fs::create_symlink(outside.file("far.jpg"), library_.file("link-out.jpg"));
    fs::create_symlink(outside.file("elsewhere"), library_.file("linked-album"));
    fs::create_symlink(library_.file("photo.jpg"), library_.file("link-in.jpg"));
    fs::create_symlink(library_.file("nowhere.jpg"), library_.file("dangling.jpg"));

    EXPECT_EQ(identifiersOf(PHAsset::fetchAssetsWithOptions(nullptr)),
              (std::vector<std::string>{"link-in.jpg", "photo.jpg"}));
    EXPECT_EQ(PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
                  PHAssetCollectionType::Album, PHAssetCollectionSubtype::Any, nullptr)
                  .count(),
              0u);
}

} // namespace
