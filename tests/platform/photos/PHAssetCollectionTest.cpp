#include "platform/photos/PHAssetCollection.h"

#include "platform/foundation/NSPathUtilities.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHCollectionList.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Type = PHAssetCollectionType;
using Subtype = PHAssetCollectionSubtype;

template <class T> std::vector<std::string> titlesOf(const PHFetchResult<T>& result) {
    std::vector<std::string> titles;
    for (const auto& collection : result) {
        titles.push_back(collection->localizedTitle());
    }
    return titles;
}

std::vector<std::string> identifiersIn(const std::shared_ptr<PHAssetCollection>& collection) {
    std::vector<std::string> identifiers;
    for (const auto& asset : PHAsset::fetchAssetsInAssetCollectionOptions(collection, nullptr)) {
        identifiers.push_back(asset->localIdentifier());
    }
    std::sort(identifiers.begin(), identifiers.end());
    return identifiers;
}

std::shared_ptr<PHAssetCollection> albumTitled(const std::string& title) {
    for (const auto& album : PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
             Type::Album, Subtype::Any, nullptr)) {
        if (album->localizedTitle() == title) {
            return album;
        }
    }
    return nullptr;
}

using PHAssetCollectionTest = PhotoLibraryTest;

TEST_F(PHAssetCollectionTest, UserAlbumsAreTheLibrarysFoldersAndTheAppsAlbumByTitle) {
    const auto photo = photoJpeg(8, 8);
    libraryFile("holidays/beach.jpg", photo);
    libraryFile("holidays/notes.txt", {'h', 'i'});
    libraryFile("Birthday/cake.png", translucentPng(4, 4));
    std::filesystem::create_directories(library_.file("Zoo"));
    libraryFile("nested/deeper/lost.jpg", photo);
    libraryFile(".hidden/secret.jpg", photo);
    libraryFile("loose.jpg", photo);
    albumFile("collage.jpg", photo);

    const auto albums = PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
        Type::Album, Subtype::Any, nullptr);
    const std::vector<std::string> titles{"Birthday", "holidays", "MixPhotos", "nested", "Zoo"};
    EXPECT_EQ(titlesOf(albums), titles);
    EXPECT_EQ(titlesOf(PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
                  Type::Album, Subtype::AlbumRegular, nullptr)),
              titles);
    EXPECT_EQ(titlesOf(PHCollectionList::fetchTopLevelUserCollectionsWithOptions(nullptr)), titles);
    for (const auto& album : albums) {
        EXPECT_EQ(album->assetCollectionType(), Type::Album);
        EXPECT_EQ(album->assetCollectionSubtype(), Subtype::AlbumRegular);
    }
    EXPECT_EQ(albums.objectAtIndex(1)->localIdentifier(), "holidays");

    EXPECT_EQ(identifiersIn(albumTitled("holidays")),
              std::vector<std::string>{"holidays/beach.jpg"});
    EXPECT_EQ(identifiersIn(albumTitled("MixPhotos")),
              std::vector<std::string>{"~/Album/collage.jpg"});
    EXPECT_TRUE(identifiersIn(albumTitled("nested")).empty()) << "one level deep only";
    EXPECT_TRUE(identifiersIn(albumTitled("Zoo")).empty());
    EXPECT_TRUE(identifiersIn(nullptr).empty());
}

TEST_F(PHAssetCollectionTest, TheAppsAlbumShowsOnlyWhenItHoldsPictures) {
    EXPECT_FALSE(albumTitled("MixPhotos")) << "no Album folder";
    albumFile("notes.txt", {'x'});
    PHPhotoLibrary::reloadLibrary();
    EXPECT_FALSE(albumTitled("MixPhotos")) << "nothing to show in it";

    // With the home as the library, the Album folder is still one album, under its title.
    albumFile("saved.jpg", photoJpeg(8, 8));
    PHPhotoLibrary::configure(NSHomeDirectory(), PHAccessAnswer::Granted);
    const auto titles =
        titlesOf(PHCollectionList::fetchTopLevelUserCollectionsWithOptions(nullptr));
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "MixPhotos"), 1);
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "Album"), 0);
    EXPECT_EQ(identifiersIn(albumTitled("MixPhotos")),
              std::vector<std::string>{"~/Album/saved.jpg"});
}

TEST_F(PHAssetCollectionTest, SmartAlbumsHoldTheWholeLibraryAndWhatWasAddedLately) {
    const NSDate now = NSDate::date();
    const auto photo = photoJpeg(8, 8);
    ASSERT_NO_FATAL_FAILURE(
        setModificationDate(libraryFile("new.jpg", photo), now.dateByAddingTimeInterval(-3600)));
    ASSERT_NO_FATAL_FAILURE(setModificationDate(libraryFile("trip/recent.jpg", photo),
                                                now.dateByAddingTimeInterval(-29 * 86400)));
    ASSERT_NO_FATAL_FAILURE(setModificationDate(libraryFile("trip/old.jpg", photo),
                                                now.dateByAddingTimeInterval(-31 * 86400)));
    ASSERT_NO_FATAL_FAILURE(setModificationDate(libraryFile("clip.mov", videoBytes()),
                                                now.dateByAddingTimeInterval(-60)));
    ASSERT_NO_FATAL_FAILURE(setModificationDate(albumFile("saved.jpg", photo),
                                                now.dateByAddingTimeInterval(-40 * 86400)));

    const auto smart = PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
        Type::SmartAlbum, Subtype::Any, nullptr);
    EXPECT_EQ(titlesOf(smart), (std::vector<std::string>{"All Photos", "Recently Added"}));
    const auto all = smart.firstObject();
    const auto recent = smart.lastObject();
    EXPECT_EQ(all->assetCollectionType(), Type::SmartAlbum);
    EXPECT_EQ(all->assetCollectionSubtype(), Subtype::SmartAlbumUserLibrary);
    EXPECT_EQ(recent->assetCollectionSubtype(), Subtype::SmartAlbumRecentlyAdded);
    EXPECT_NE(all->localIdentifier(), recent->localIdentifier());

    EXPECT_EQ(identifiersIn(all),
              (std::vector<std::string>{"clip.mov", "new.jpg", "trip/old.jpg", "trip/recent.jpg",
                                        "~/Album/saved.jpg"}));
    EXPECT_EQ(identifiersIn(recent),
              (std::vector<std::string>{"clip.mov", "new.jpg", "trip/recent.jpg"}));
    environment_.fastForwardBy(2 * 86400);
    EXPECT_EQ(identifiersIn(recent), (std::vector<std::string>{"clip.mov", "new.jpg"}))
        << "measured on the clock";

    EXPECT_EQ(titlesOf(PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
                  Type::SmartAlbum, Subtype::SmartAlbumUserLibrary, nullptr)),
              std::vector<std::string>{"All Photos"});
    EXPECT_EQ(PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
                  Type::SmartAlbum, Subtype::SmartAlbumFavorites, nullptr)
                  .count(),
              0u);
    EXPECT_EQ(PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(Type::Moment,
                                                                             Subtype::Any, nullptr)
                  .count(),
              0u);
}

TEST_F(PHAssetCollectionTest, TheScanIsKeptUntilTheLibraryIsReloaded) {
    const auto all = PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
                         Type::SmartAlbum, Subtype::SmartAlbumUserLibrary, nullptr)
                         .firstObject();
    libraryFile("first.jpg", photoJpeg(8, 8));
    PHPhotoLibrary::reloadLibrary();
    EXPECT_EQ(identifiersIn(all), std::vector<std::string>{"first.jpg"});
    albumFile("saved.jpg", photoJpeg(8, 8));
    EXPECT_EQ(identifiersIn(all), std::vector<std::string>{"first.jpg"}) << "not scanned again";
    PHPhotoLibrary::reloadLibrary();
    EXPECT_EQ(identifiersIn(all), (std::vector<std::string>{"first.jpg", "~/Album/saved.jpg"}));
}

TEST_F(PHAssetCollectionTest, NothingIsFoundWithoutAccess) {
    libraryFile("trip/photo.jpg", photoJpeg(8, 8));
    const auto all = PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
                         Type::SmartAlbum, Subtype::SmartAlbumUserLibrary, nullptr)
                         .firstObject();
    TestHome deniedHome;
    PHPhotoLibrary::configure(library_.path(), PHAccessAnswer::Denied);
    PHPhotoLibrary::requestAuthorization(nullptr);
    environment_.runUntilIdle();
    ASSERT_EQ(PHPhotoLibrary::authorizationStatus(), PHAuthorizationStatus::Denied);
    EXPECT_EQ(PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(Type::SmartAlbum,
                                                                             Subtype::Any, nullptr)
                  .count(),
              0u);
    EXPECT_EQ(PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(Type::Album,
                                                                             Subtype::Any, nullptr)
                  .count(),
              0u);
    EXPECT_EQ(PHCollectionList::fetchTopLevelUserCollectionsWithOptions(nullptr).count(), 0u);
    EXPECT_EQ(PHAsset::fetchAssetsWithOptions(nullptr).count(), 0u);
    EXPECT_TRUE(identifiersIn(all).empty());
}

} // namespace
