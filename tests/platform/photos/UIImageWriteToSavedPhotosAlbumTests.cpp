// Saving into the album: numbered files that never overwrite, the outcome told on the main
// queue only after the write, the photo library showing the new picture, and failures.
#include "platform/base/NSRunLoop.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSData.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHAssetCollection.h"
#include "platform/photos/UIImageWriteToSavedPhotosAlbum.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>

namespace {

std::shared_ptr<UIImage> solidImage(uint32_t colour) {
    return UIImage::imageWithCGImage(makeImage(5, 3, CGImagePixelFormat::ARGB32Premultiplied,
                                               [colour](size_t, size_t) { return colour; }));
}

// What a save reported: whether it has, and its error.
struct Outcome {
    bool reported = false;
    std::shared_ptr<NSError> error;
    std::shared_ptr<UIImage> image;
};

class UIImageWriteToSavedPhotosAlbumTest : public PhotoLibraryTest {
protected:
    UIImageWriteToSavedPhotosAlbumTest() { EventLog::clear(); }
    UIImageWriteToSavedPhotosAlbumCompletion recordInto(Outcome& outcome) {
        return [&outcome](const std::shared_ptr<UIImage>& image, std::shared_ptr<NSError> error) {
            outcome = {true, std::move(error), image};
        };
    }
    std::string album() const { return home_.path() + "/Album"; }
    std::string albumPicture(const std::string& name) const { return album() + "/" + name; }
};

TEST_F(UIImageWriteToSavedPhotosAlbumTest, SavesNumberedPicturesAndReportsAfterTheWrite) {
    // A picture already there keeps its name and contents.
    const auto existing = albumFile("IMG_0001.png", translucentPng(2, 2));
    const auto image = solidImage(0xff208040);
    Outcome first, second;
    UIImageWriteToSavedPhotosAlbum(image, recordInto(first));
    // Nothing is written or told until the worker has run, and nothing told until the
    // main queue runs after it.
    EXPECT_FALSE(std::filesystem::exists(albumPicture("IMG_0002.png")));
    GlobalThreadPool::shared().runAllTasks();
    EXPECT_TRUE(std::filesystem::exists(albumPicture("IMG_0002.png")));
    EXPECT_FALSE(first.reported);
    environment_.runUntilIdle();
    ASSERT_TRUE(first.reported);
    EXPECT_FALSE(first.error);
    EXPECT_EQ(first.image, image);

    UIImageWriteToSavedPhotosAlbum(solidImage(0xff000000), recordInto(second));
    environment_.runUntilIdle();
    ASSERT_TRUE(second.reported);
    EXPECT_FALSE(second.error);

    const auto kept = NSData::dataWithContentsOfFile(existing);
    ASSERT_TRUE(kept);
    EXPECT_TRUE(std::ranges::equal(*kept, translucentPng(2, 2)));
    const auto saved = UIImage::imageWithContentsOfFile(albumPicture("IMG_0002.png"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(pixelsOf(*saved->cgImage()), pixelsOf(*image->cgImage()));
    EXPECT_TRUE(std::filesystem::exists(albumPicture("IMG_0003.png")));
    EXPECT_EQ(EventLog::entries(),
              (std::vector<std::string>{"saved: " + albumPicture("IMG_0002.png"),
                                        "saved: " + albumPicture("IMG_0003.png")}));

    // The library shows them in the app's album at once.
    size_t shown = 0;
    for (const auto& collection : PHAssetCollection::fetchAssetCollectionsWithTypeSubtypeOptions(
             PHAssetCollectionType::Album, PHAssetCollectionSubtype::Any, nullptr)) {
        if (collection->localizedTitle() == "MixPhotos") {
            shown = PHAsset::fetchAssetsInAssetCollectionOptions(collection, nullptr).count();
        }
    }
    EXPECT_EQ(shown, 3u);
}

TEST_F(UIImageWriteToSavedPhotosAlbumTest, FailuresAreReportedAndWriteNothing) {
    struct Case {
        const char* name;
        bool albumIsAFile;
        bool nullImage;
    };
    for (const auto& c : {Case{"album is a file", true, false}, Case{"no image", false, true}}) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(album());
        if (c.albumIsAFile) {
            NSData::writeToFileAtomically({'x'}, album());
        }
        Outcome outcome;
        UIImageWriteToSavedPhotosAlbum(c.nullImage ? nullptr : solidImage(0xffffffff),
                                       recordInto(outcome));
        environment_.runUntilIdle();
        ASSERT_TRUE(outcome.reported);
        ASSERT_TRUE(outcome.error);
        EXPECT_FALSE(outcome.error->localizedDescription().empty());
        EXPECT_TRUE(EventLog::entries().empty());
        EXPECT_EQ(std::filesystem::is_regular_file(album()), c.albumIsAFile);
    }
    // Without a completion a failure is only logged.
    UIImageWriteToSavedPhotosAlbum(nullptr, nullptr);
    environment_.runUntilIdle();
    EXPECT_FALSE(log_.empty());
}

TEST(UIImageWriteToSavedPhotosAlbumThreads, ConcurrentSavesGetDistinctFiles) {
    TaskEnvironment environment; // threaded global queues
    TestHome home;
    EventLog::clear();
    constexpr int kSaves = 6;
    int reported = 0;
    for (int i = 0; i < kSaves; ++i) {
        UIImageWriteToSavedPhotosAlbum(solidImage(0xff000000 + i),
                                       [&reported](const auto&, std::shared_ptr<NSError> error) {
                                           EXPECT_FALSE(error);
                                           ++reported;
                                       });
    }
    environment.runUntilIdle();
    ASSERT_EQ(reported, kSaves);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(home.path() + "/Album")) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names.size(), size_t{kSaves});
    EXPECT_TRUE(names.count("IMG_0006.png"));
}

} // namespace
