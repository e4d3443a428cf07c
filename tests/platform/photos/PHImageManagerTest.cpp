#include "platform/photos/PHImageManager.h"

#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSData.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHCachingImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

using Resize = PHImageRequestOptionsResizeMode;

struct Answer {
    std::shared_ptr<UIImage> image;
    PlistValue::Dictionary info;
    bool onMainThread = false;
};

std::shared_ptr<PHImageRequestOptions> synchronously(Resize resize = Resize::Fast) {
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setSynchronous(true);
    options->setResizeMode(resize);
    return options;
}

// Each colour channel within `tolerance` (JPEG blurs the quarters' edges a little).
bool near(uint32_t actual, uint32_t expected, int tolerance = 24) {
    for (int shift : {24, 16, 8, 0}) {
        if (std::abs(int((actual >> shift) & 0xff) - int((expected >> shift) & 0xff)) > tolerance) {
            return false;
        }
    }
    return true;
}

class PHImageManagerTest : public PhotoLibraryTest {
protected:
    // The library's only asset with this identifier.
    std::shared_ptr<PHAsset> asset(const std::string& identifier) {
        PHPhotoLibrary::reloadLibrary();
        for (const auto& found : PHAsset::fetchAssetsWithOptions(nullptr)) {
            if (found->localIdentifier() == identifier) {
                return found;
            }
        }
        ADD_FAILURE() << "no asset " << identifier;
        return nullptr;
    }

    PHImageRequestID request(const std::shared_ptr<PHAsset>& asset, CGSize target,
                             PHImageContentMode mode,
                             const std::shared_ptr<PHImageRequestOptions>& options = nullptr) {
        return manager_->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
            asset, target, mode, options, [this](auto image, const auto& info) {
                answers_.push_back({image, info, NSThread::isMainThread()});
            });
    }

    std::shared_ptr<PHImageManager> manager_ = PHImageManager::defaultManager();
    std::vector<Answer> answers_;
};

TEST_F(PHImageManagerTest, TheDefaultManagerIsTheSharedCachingOne) {
    EXPECT_EQ(manager_, PHImageManager::defaultManager());
    EXPECT_EQ(manager_->className(), "PHCachingImageManager");
}

TEST_F(PHImageManagerTest, AnUprightImageAnswersOnTheMainQueue) {
    // Stored 80 x 60 on its side, shown 60 x 80: turned a quarter clockwise, so the
    // stored bottom-left quarter shows top left.
    libraryFile("portrait.jpg", photoJpeg(80, 60, 6));
    const auto id = request(asset("portrait.jpg"), {30, 40}, PHImageContentMode::AspectFit);
    EXPECT_NE(id, PHInvalidImageRequestID);
    environment_.runMainLoopUntilIdle();
    EXPECT_TRUE(answers_.empty()) << "not decoded yet";
    GlobalThreadPool::shared().runAllTasks();
    EXPECT_TRUE(answers_.empty()) << "answered on the main queue only";
    environment_.runUntilIdle();

    ASSERT_EQ(answers_.size(), 1u);
    const auto& image = answers_[0].image;
    ASSERT_TRUE(image);
    EXPECT_TRUE(answers_[0].onMainThread);
    EXPECT_TRUE(answers_[0].info.empty());
    EXPECT_EQ(image->imageOrientation(), UIImageOrientation::Up);
    EXPECT_EQ(image->scale(), 1);
    const auto pixels = image->cgImage();
    ASSERT_EQ(pixels->width(), 30u);
    ASSERT_EQ(pixels->height(), 40u);
    EXPECT_TRUE(near(pixels->pixelAt(2, 2), kBottomLeft));
    EXPECT_TRUE(near(pixels->pixelAt(27, 2), kTopLeft));
    EXPECT_TRUE(near(pixels->pixelAt(2, 37), kBottomRight));
    EXPECT_TRUE(near(pixels->pixelAt(27, 37), kTopRight));
}

TEST_F(PHImageManagerTest, ResultSizesFollowTheTargetAndContentMode) {
    libraryFile("landscape.jpg", photoJpeg(160, 120));
    libraryFile("turned.jpg", photoJpeg(160, 120, 6));
    libraryFile("clear.png", translucentPng(64, 32));
    const struct {
        const char* identifier;
        CGSize target;
        PHImageContentMode mode;
        Resize resize;
        size_t width, height;
    } cases[] = {
        {"landscape.jpg", {40, 40}, PHImageContentMode::AspectFit, Resize::Fast, 40, 30},
        // 53 x 40 asked: the codec's nearest scale above it, 3/8.
        {"landscape.jpg", {40, 40}, PHImageContentMode::AspectFill, Resize::Fast, 60, 45},
        {"landscape.jpg", {40, 40}, PHImageContentMode::AspectFill, Resize::Exact, 40, 40},
        {"landscape.jpg", {1000, 1000}, PHImageContentMode::AspectFit, Resize::Fast, 160, 120},
        {"landscape.jpg", PHImageManagerMaximumSize, PHImageContentMode::Default, Resize::None, 160,
         120},
        {"turned.jpg", {45, 80}, PHImageContentMode::AspectFill, Resize::Exact, 45, 80},
        {"turned.jpg", {45, 80}, PHImageContentMode::AspectFit, Resize::Fast, 45, 60},
        {"clear.png", {16, 16}, PHImageContentMode::AspectFit, Resize::Fast, 16, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.identifier) + " " + NSStringFromCGSize(c.target));
        answers_.clear();
        request(asset(c.identifier), c.target, c.mode, synchronously(c.resize));
        ASSERT_EQ(answers_.size(), 1u) << "synchronous requests answer before returning";
        ASSERT_TRUE(answers_[0].image);
        EXPECT_EQ(answers_[0].image->cgImage()->width(), c.width);
        EXPECT_EQ(answers_[0].image->cgImage()->height(), c.height);
    }
    // Translucent pixels stay translucent (premultiplied half red).
    EXPECT_TRUE(near(answers_.back().image->cgImage()->pixelAt(8, 4), 0x80800000u, 1));
}

TEST_F(PHImageManagerTest, AFailureAnswersNullOnceWithAnErrorAndALogLine) {
    const auto photo = photoJpeg(64, 48);
    libraryFile("cut.jpg", std::vector<uint8_t>(photo.begin(), photo.end() - 10));
    libraryFile("clip.mp4", videoBytes());
    // Headers claiming 81 megapixels over a few hundred bytes of pixels.
    libraryFile("claims.png", pngWithSize(translucentPng(16, 16), 9000, 9000));
    libraryFile("claims.jpg", jpegWithSize(photo, 9000, 9000));
    const std::string gone = libraryFile("gone.jpg", photo);
    const auto cut = asset("cut.jpg"), clip = asset("clip.mp4"), vanished = asset("gone.jpg");
    const auto claimsPng = asset("claims.png"), claimsJpeg = asset("claims.jpg");
    std::filesystem::remove(gone);

    for (const auto& failing : {cut, clip, vanished, claimsPng, claimsJpeg}) {
        SCOPED_TRACE(failing->localIdentifier());
        answers_.clear();
        log_.clear();
        request(failing, {32, 32}, PHImageContentMode::AspectFill);
        environment_.runUntilIdle();
        ASSERT_EQ(answers_.size(), 1u);
        EXPECT_FALSE(answers_[0].image);
        EXPECT_FALSE(answers_[0].info.at(PHImageErrorKey).stringValue().empty());
        ASSERT_EQ(log_.size(), 1u);
        EXPECT_NE(log_[0].find(failing->localIdentifier()), std::string::npos) << log_[0];
    }
}

TEST_F(PHImageManagerTest, ACancelledRequestNeverAnswers) {
    libraryFile("photo.jpg", photoJpeg(64, 48));
    const auto photo = asset("photo.jpg");

    // Before it started, and after the decode but before the answer.
    manager_->cancelImageRequest(request(photo, {16, 16}, PHImageContentMode::AspectFit));
    const auto late = request(photo, {16, 16}, PHImageContentMode::AspectFit);
    GlobalThreadPool::shared().runAllTasks();
    manager_->cancelImageRequest(late);
    const auto kept = request(photo, {16, 16}, PHImageContentMode::AspectFit);
    manager_->cancelImageRequest(kept + 100);
    environment_.runUntilIdle();
    ASSERT_EQ(answers_.size(), 1u);
    EXPECT_TRUE(answers_[0].image);
    manager_->cancelImageRequest(kept); // finished: nothing to cancel
}

TEST_F(PHImageManagerTest, RequestsOnWorkerThreadsAnswerOnceEachOnTheMainThread) {
    for (int i = 0; i < 4; ++i) {
        libraryFile("photo" + std::to_string(i) + ".jpg", photoJpeg(64, 48));
    }
    const auto assets = PHAsset::fetchAssetsWithOptions(nullptr);
    ASSERT_EQ(assets.count(), 4u);
    GlobalThreadPool::shared().setManualStepping(false);
    // The library is fetched and scanned again meanwhile.
    std::thread fetcher([] {
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(PHAsset::fetchAssetsWithOptions(nullptr).count(), 4u);
            PHPhotoLibrary::reloadLibrary();
        }
    });
    for (int round = 0; round < 4; ++round) {
        for (const auto& photo : assets) {
            const auto id = request(photo, {16, 16}, PHImageContentMode::AspectFill);
            if (round % 2) {
                manager_->cancelImageRequest(id);
            }
        }
    }
    fetcher.join();
    environment_.runUntilIdle();
    ASSERT_EQ(answers_.size(), 8u);
    for (const auto& answer : answers_) {
        EXPECT_TRUE(answer.image);
        EXPECT_TRUE(answer.onMainThread);
    }
}

TEST_F(PHImageManagerTest, ImageDataIsTheFilesBytesWithTheirTypeAndOrientation) {
    const std::string jpegPath = libraryFile("turned.jpg", photoJpeg(40, 30, 6));
    const std::string pngPath = libraryFile("clear.png", translucentPng(8, 8));
    const struct {
        std::string identifier, path, type;
        UIImageOrientation orientation;
    } cases[] = {
        {"turned.jpg", jpegPath, "public.jpeg", UIImageOrientation::Right},
        {"clear.png", pngPath, "public.png", UIImageOrientation::Up},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.identifier);
        std::optional<std::optional<ByteBuffer>> data;
        std::string type;
        UIImageOrientation orientation{};
        manager_->requestImageDataForAssetOptionsResultHandler(
            asset(c.identifier), nullptr,
            [&](auto bytes, const std::string& uti, UIImageOrientation turned, const auto& info) {
                EXPECT_TRUE(NSThread::isMainThread());
                EXPECT_TRUE(info.empty());
                data = std::move(bytes);
                type = uti;
                orientation = turned;
            });
        environment_.runUntilIdle();
        ASSERT_TRUE(data);
        EXPECT_EQ(*data, NSData::dataWithContentsOfFile(c.path));
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(orientation, c.orientation);
    }

    const auto gone = asset("clear.png");
    std::filesystem::remove(pngPath);
    int answers = 0;
    manager_->requestImageDataForAssetOptionsResultHandler(
        gone, synchronously(),
        [&](auto bytes, const std::string&, UIImageOrientation, const auto& info) {
            ++answers;
            EXPECT_FALSE(bytes);
            EXPECT_TRUE(info.contains(PHImageErrorKey));
        });
    EXPECT_EQ(answers, 1);
}

} // namespace

namespace {

std::shared_ptr<PHImageRequestOptions> delivering(PHImageRequestOptionsDeliveryMode mode) {
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setDeliveryMode(mode);
    options->setResizeMode(Resize::Exact);
    return options;
}

bool isDegraded(const Answer& answer) {
    auto found = answer.info.find(PHImageResultIsDegradedKey);
    return found != answer.info.end() && found->second.boolValue();
}

TEST_F(PHImageManagerTest, AnEmbeddedPreviewAnswersFirstDegradedThenTheFinalImage) {
    // Stored 400 x 300 on its side with a 160 x 120 preview stored the same way: both
    // shown upright, the stored bottom-left quarter top left.
    libraryFile("camera.jpg", photoJpegWithThumbnail(400, 300, 6, 160, 120));
    request(asset("camera.jpg"), {60, 60}, PHImageContentMode::AspectFill,
            delivering(PHImageRequestOptionsDeliveryMode::Opportunistic));
    environment_.runUntilIdle();

    ASSERT_EQ(answers_.size(), 2u);
    EXPECT_TRUE(isDegraded(answers_[0]));
    EXPECT_FALSE(isDegraded(answers_[1]));
    EXPECT_TRUE(answers_[0].onMainThread);
    for (const auto& answer : answers_) {
        ASSERT_TRUE(answer.image);
        const auto pixels = answer.image->cgImage();
        ASSERT_EQ(pixels->width(), 60u);
        ASSERT_EQ(pixels->height(), 60u);
        EXPECT_TRUE(near(pixels->pixelAt(3, 3), kBottomLeft));
        EXPECT_TRUE(near(pixels->pixelAt(56, 56), kTopRight));
    }
}

TEST_F(PHImageManagerTest, OtherRequestsAnswerOnceWithTheFinalImage) {
    libraryFile("camera.jpg", photoJpegWithThumbnail(400, 300, 0, 160, 120));
    // A preview of another shape (a 16:9 one padded into a 4:3 photo's) is not shown.
    libraryFile("padded.jpg", photoJpegWithThumbnail(400, 300, 0, 160, 90));
    libraryFile("plain.jpg", photoJpeg(400, 300));
    auto synchronousOpportunistic = synchronously(Resize::Exact);
    const struct {
        const char* identifier;
        std::shared_ptr<PHImageRequestOptions> options;
    } cases[] = {
        {"camera.jpg", delivering(PHImageRequestOptionsDeliveryMode::HighQualityFormat)},
        {"camera.jpg", synchronousOpportunistic},
        {"padded.jpg", delivering(PHImageRequestOptionsDeliveryMode::Opportunistic)},
        {"plain.jpg", delivering(PHImageRequestOptionsDeliveryMode::Opportunistic)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.identifier);
        PHImageManager::resetForTesting(); // nothing from the cache
        answers_.clear();
        request(asset(c.identifier), {60, 60}, PHImageContentMode::AspectFill, c.options);
        environment_.runUntilIdle();
        ASSERT_EQ(answers_.size(), 1u);
        EXPECT_TRUE(answers_[0].image);
        EXPECT_FALSE(isDegraded(answers_[0]));
    }
}

TEST_F(PHImageManagerTest, ARequestCancelledAfterItsPreviewGetsNoFinalImage) {
    libraryFile("camera.jpg", photoJpegWithThumbnail(400, 300, 0, 160, 120));
    PHImageRequestID id = PHInvalidImageRequestID;
    int answers = 0;
    id = manager_->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
        asset("camera.jpg"), {60, 60}, PHImageContentMode::AspectFill, nullptr,
        [&](const std::shared_ptr<UIImage>&, const PlistValue::Dictionary&) {
            ++answers;
            manager_->cancelImageRequest(id); // the cell moved on to another photo
        });
    environment_.runUntilIdle();
    EXPECT_EQ(answers, 1);
}

} // namespace
