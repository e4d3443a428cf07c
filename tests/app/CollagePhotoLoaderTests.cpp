#include "app/CollagePhotoLoader.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using CollagePhotoLoaderTest = PhotoLibraryTest;

// Photos that embed a preview answer an opportunistic request twice: the preview first,
// marked degraded, then the final picture. The screen hears once, when every photo's final
// picture is in.
TEST_F(CollagePhotoLoaderTest, WaitsPastDegradedPreviewsForEveryFinalPicture) {
    CollagePhotoLoader::AssetList assets;
    for (const auto& [name, width, height] :
         {std::tuple{"wide.jpg", 200, 150}, std::tuple{"tall.jpg", 150, 200}}) {
        const auto path =
            libraryFile(name, photoJpegWithThumbnail(width, height, 0, width / 5, height / 5));
        assets.push_back(PHAsset::assetWithFileLocalIdentifier(path, name));
        ASSERT_TRUE(assets.back()) << name;
    }
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 480));
    auto screen = UIViewController::init();
    window->setRootViewController(screen);
    window->makeKeyAndVisible();
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setDeliveryMode(PHImageRequestOptionsDeliveryMode::Opportunistic);
    options->setResizeMode(PHImageRequestOptionsResizeMode::Exact);

    std::vector<CollagePhotoLoader::Photos> heard;
    CollagePhotoLoader::loadPhotosForScreen(
        *screen, assets, CGSizeMake(100, 100), PHImageContentMode::AspectFit, options,
        [&](CollagePhotoLoader::Photos photos) { heard.push_back(std::move(photos)); });
    environment_.runUntilIdle();

    // The previews are 40 x 30 and 30 x 40: never enlarged to the target.
    ASSERT_EQ(heard.size(), 1u);
    ASSERT_EQ(heard[0].size(), 2u);
    EXPECT_EQ(heard[0][0]->size(), CGSizeMake(100, 75));
    EXPECT_EQ(heard[0][1]->size(), CGSizeMake(75, 100));
}

} // namespace
