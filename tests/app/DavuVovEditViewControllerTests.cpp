#include "app/BackImageChooseViewController.h"
#include "app/DavuVovEditViewController.h"
#include "app/FreeEditMixView.h"
#include "app/RZCommonConfig.h"
#include "app/categories/UIColor+Hex.h"
#include "app/widgets/OVProgressHUD.h"
#include "editor/_PEImageEditorViewController.h"
#include "harness/TouchInjector.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/graphics/CGImage.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/uikit/AlertPanelView.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
class FreeCollageTest : public PhotoLibraryTest {
protected:
    void TearDown() override { UIScreen::configureMainScreen(CGSizeMake(375, 667), 2); }

    // Photos of distinct shapes, (40 + 10 i) x 30 pixels times `factor` (photo0.jpg is
    // `firstFactor` times as large again); the names in `unreadable` hold no picture.
    void open(int count, const std::vector<std::string>& unreadable = {}, size_t firstFactor = 1) {
        auto assets = std::make_shared<DavuVovEditViewController::AssetList>();
        for (int i = 0; i < count; ++i) {
            const std::string name = "photo" + std::to_string(i) + ".jpg";
            const bool broken =
                std::find(unreadable.begin(), unreadable.end(), name) != unreadable.end();
            const size_t factor = i == 0 ? firstFactor : 1;
            const std::string path =
                libraryFile(name, broken ? std::vector<uint8_t>{'n', 'o'}
                                         : photoJpeg((40 + 10 * i) * factor, 30 * factor));
            assets->push_back(PHAsset::assetWithFileLocalIdentifier(path, name));
        }
        PHPhotoLibrary::reloadLibrary();
        const CGSize screen = UIScreen::mainScreen()->bounds().size;
        window = UIWindow::initWithFrame(CGRectMake(0, 0, screen.width, screen.height));
        editor = DavuVovEditViewController::init();
        editor->setSelectedAssets(assets);
        navigation = UINavigationController::initWithRootViewController(UIViewController::init());
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        navigation->pushViewControllerAnimated(editor, false);
        environment_.runUntilIdle();
        environment_.fastForwardBy(0.5);
    }
    double aspect(size_t photo) const {
        const CGSize size = editor->selectedPhotos().at(photo)->size();
        return size.width / size.height;
    }
    std::shared_ptr<UIAlertController> alert() const {
        return std::dynamic_pointer_cast<UIAlertController>(navigation->presentedViewController());
    }
    void tapLabelled(const std::string& label) {
        auto views = TouchInjector::viewsWithLabel(window, label);
        ASSERT_EQ(views.size(), 1u) << label;
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*views.front()));
        environment_.fastForwardBy(1);
    }
    std::shared_ptr<BackImageChooseViewController> openChooser() {
        tapLabelled("Background");
        auto chooser = std::dynamic_pointer_cast<BackImageChooseViewController>(
            navigation->topViewController());
        EXPECT_TRUE(chooser);
        if (chooser) {
            EXPECT_EQ(chooser->valueDelegate().lock().get(),
                      static_cast<PassValueDelegate*>(editor.get()));
        }
        return chooser;
    }

    // A real tap on the chooser's colour tile `tag`.
    void tapTile(BackImageChooseViewController& chooser, long tag) {
        for (const auto& view : chooser.colorScrView()->subviews()) {
            auto tile = std::dynamic_pointer_cast<UIButton>(view);
            if (tile && tile->tag() == tag) {
                TouchInjector::tapAt(TouchInjector::tapPointOfView(*tile));
                environment_.fastForwardBy(1);
                return;
            }
        }
        FAIL() << "no tile " << tag;
    }

    std::shared_ptr<UIWindow> window;
    std::shared_ptr<DavuVovEditViewController> editor;
    std::shared_ptr<UINavigationController> navigation;
};

TEST(FreeCollageCards, StackDownTheCanvasAtEvenStepsKeepingEachPhotosShape) {
    struct Case {
        CGSize canvas;
        std::vector<CGSize> photos;
        std::vector<CGRect> frames;
    };
    const double third = 560.0 / 3;
    const Case cases[] = {
        // 600 points high: steps of (600 - 40) / 3 + 10.
        {CGSizeMake(355, 600),
         {CGSizeMake(400, 300), CGSizeMake(300, 600), CGSizeMake(590, 295)},
         {CGRectMake(30, 30, 295, 221.25), CGRectMake(30, 30 + third + 10, 295, 590),
          CGRectMake(30, 30 + 2 * (third + 10), 295, 147.5)}},
        {CGSizeMake(355, 543), {CGSizeMake(100, 100)}, {CGRectMake(30, 30, 295, 295)}},
        {CGSizeMake(355, 543), {}, {}},
        // A photo without width gets a square card rather than a division by zero.
        {CGSizeMake(100, 200), {CGSizeMake(0, 50)}, {CGRectMake(30, 30, 40, 40)}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.photos.size());
        const auto frames =
            DavuVovEditViewController::cardFramesForCanvasSizePhotoSizes(test.canvas, test.photos);
        ASSERT_EQ(frames.size(), test.frames.size());
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_NEAR(frames[i].origin.x, test.frames[i].origin.x, 1e-9);
            EXPECT_NEAR(frames[i].origin.y, test.frames[i].origin.y, 1e-9);
            EXPECT_NEAR(frames[i].size.width, test.frames[i].size.width, 1e-9);
            EXPECT_NEAR(frames[i].size.height, test.frames[i].size.height, 1e-9);
        }
    }
}

TEST_F(FreeCollageTest, ThreePhotosLieAsCardsOnAWhiteCanvasAboveTheBottomBar) {
    // A screen whose canvas is 600 points high.
    UIScreen::configureMainScreen(CGSizeMake(375, 724), 2);
    NSUserDefaults::standardUserDefaults()->setObjectForKey("5", kBackGrandSelectedKey);
    NSUserDefaults::standardUserDefaults()->setObjectForKey("3", kBackImageSelectedKey);
    open(3);
    EXPECT_EQ(editor->title(), "DavuVov");
    EXPECT_TRUE(editor->view()->backgroundColor()->isEqual(*Hex::colorWithHexString("b5b5b5")));
    EXPECT_EQ(editor->bottomEditView()->frame(), CGRectMake(0, 674, 375, 50));
    const auto buttons = editor->bottomEditView()->subviews();
    ASSERT_EQ(buttons.size(), 3u);
    const double b = 355.0 / 3;
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(buttons[i]->frame().origin.x, 5 + (b + 5) * double(i), 1e-9);
        EXPECT_NEAR(buttons[i]->frame().size.width, b, 1e-9);
    }

    const auto canvas = editor->contentsView();
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->frame(), CGRectMake(10, 74, 355, 600));
    EXPECT_TRUE(canvas->clipsToBounds());
    EXPECT_TRUE(canvas->backgroundColor()->isEqual(*UIColor::whiteColor()));
    ASSERT_EQ(editor->editViewArr().size(), 3u);
    const double tops[] = {30, 30 + 560.0 / 3 + 10, 30 + 2 * (560.0 / 3 + 10)};
    for (size_t i = 0; i < 3; ++i) {
        const auto& card = editor->editViewArr()[i];
        EXPECT_EQ(card->superview(), canvas);
        EXPECT_EQ(canvas->subviews()[i], card) << "later cards lie above earlier ones";
        EXPECT_NEAR(card->frame().origin.y, tops[i], 1e-6);
        EXPECT_EQ(card->frame().size.width, 295);
        EXPECT_NEAR(card->frame().size.height, 295 / aspect(i), 1e-6);
        EXPECT_EQ(card->showImageView()->image(), editor->selectedPhotos()[i]);
    }
    EXPECT_FALSE(editor->loadingDataActivity()->superview()) << "the overlay went away";
    EXPECT_TRUE(editor->navigationItem()->rightBarButtonItem()->isEnabled());
    EXPECT_FALSE(alert());
    // The chooser starts each visit at the first colour and no picture.
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->stringForKey(kBackGrandSelectedKey), "0");
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->stringForKey(kBackImageSelectedKey),
              "nothing");
}

TEST_F(FreeCollageTest, PhotosKeepTheirAssetsOrderWhateverOrderTheyLoadIn) {
    // On threads, the first photo (by far the largest) is likely to be read last.
    GlobalThreadPool::shared().setManualStepping(false);
    open(3, {}, 60);
    GlobalThreadPool::shared().setManualStepping(true);
    ASSERT_EQ(editor->selectedPhotos().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(aspect(i), (40.0 + 10.0 * double(i)) / 30.0, 0.02) << i;
    }
}

TEST_F(FreeCollageTest, AnUnreadablePhotoIsLeftOutAndTheUserTold) {
    open(3, {"photo1.jpg"});
    ASSERT_EQ(editor->selectedPhotos().size(), 2u);
    EXPECT_NEAR(aspect(1), 60.0 / 30.0, 0.02) << "the third photo moved up";
    EXPECT_EQ(editor->editViewArr().size(), 2u);
    EXPECT_FALSE(editor->loadingDataActivity()->superview());
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->message(), "Some photos could not be read");
    EXPECT_TRUE(editor->navigationItem()->rightBarButtonItem()->isEnabled());
}

TEST_F(FreeCollageTest, WithNoReadablePhotoTheScreenSaysSoAndGoesBack) {
    open(2, {"photo0.jpg", "photo1.jpg"});
    EXPECT_FALSE(editor->contentsView());
    EXPECT_FALSE(editor->loadingDataActivity()->superview());
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->message(), "Too few photos could be read for a collage");
    EXPECT_FALSE(editor->navigationItem()->rightBarButtonItem()->isEnabled());
    auto panel = std::dynamic_pointer_cast<AlertPanelView>(alert()->view());
    ASSERT_TRUE(panel);
    auto ok = panel->buttonRectForTitle("OK");
    ASSERT_TRUE(ok);
    TouchInjector::tapAt(
        panel->convertPointToView(CGPointMake(CGRectGetMidX(*ok), CGRectGetMidY(*ok)), nullptr));
    environment_.fastForwardBy(1);
    EXPECT_NE(navigation->topViewController(), editor);
}

TEST_F(FreeCollageTest, TheChoosersColourClearsAPictureAndAPictureKeepsTheColour) {
    open(2);
    auto chooser = openChooser();
    ASSERT_TRUE(chooser);
    const std::string firstColour = chooser->colorArr()[1];
    ASSERT_NO_FATAL_FAILURE(tapTile(*chooser, 1));
    EXPECT_EQ(navigation->topViewController(), editor) << "the chooser went back";
    const auto canvas = editor->contentsView();
    EXPECT_TRUE(canvas->backgroundColor()->isEqual(*Hex::colorWithHexString(firstColour)));

    chooser = openChooser();
    ASSERT_TRUE(chooser);
    chooser->collectionViewDidSelectItemAtIndexPath(*chooser->backImageCollection(),
                                                    NSIndexPath::indexPathForItemInSection(2, 0));
    environment_.fastForwardBy(1);
    EXPECT_EQ(canvas->image(), UIImage::imageNamed("FreeImageBackground3.jpg"));
    EXPECT_TRUE(canvas->image());
    EXPECT_TRUE(canvas->backgroundColor()->isEqual(*Hex::colorWithHexString(firstColour)))
        << "the colour stays beneath the picture";

    chooser = openChooser();
    ASSERT_TRUE(chooser);
    ASSERT_NO_FATAL_FAILURE(tapTile(*chooser, 2));
    EXPECT_FALSE(canvas->image()) << "a colour clears the picture";
    EXPECT_TRUE(
        canvas->backgroundColor()->isEqual(*Hex::colorWithHexString(chooser->colorArr()[2])));
}

TEST_F(FreeCollageTest, TheSharedPictureIsTheCanvasAtOnePixelAPointWithTransparency) {
    open(2);
    auto picture = editor->saveAndGetMixdImage();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), editor->contentsView()->frame().size);
    EXPECT_EQ(picture->scale(), 1.0);
    EXPECT_EQ(picture->cgImage()->format(), CGImagePixelFormat::ARGB32Premultiplied);
    tapLabelled("Share");
    auto sheet = alert();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->preferredStyle(), UIAlertControllerStyle::ActionSheet);
}
TEST_F(FreeCollageTest, EditOpensTheImageEditorOnTheCanvasAsItLooksNow) {
    open(2);
    editor->passSelectedColor("ff0000");
    const auto& card = editor->editViewArr()[0];
    card->setCenter(CGPointMake(card->center().x + 40, card->center().y));
    tapLabelled("Edit");
    // Presented through the navigation controller the screen lies in.
    auto imageEditor = std::dynamic_pointer_cast<_PEImageEditorViewController>(
        navigation->presentedViewController());
    ASSERT_TRUE(imageEditor);
    EXPECT_EQ(imageEditor->delegate().get(), static_cast<PEImageEditorDelegate*>(editor.get()));
    // The canvas at the screen's scale, opaque, as it was when Edit was tapped.
    const auto picture = imageEditor->originalImage();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), editor->contentsView()->frame().size);
    EXPECT_EQ(picture->scale(), UIScreen::mainScreen()->scale());
    const auto rendered = editor->getImageFromMixdView();
    EXPECT_EQ(rendered->cgImage()->format(), CGImagePixelFormat::RGB24);
    EXPECT_EQ(picture->cgImage()->pixelAt(1, 1), 0xffff0000u);
    EXPECT_EQ(pixelsOf(*picture->cgImage()), pixelsOf(*rendered->cgImage()));

    // Cancel closes the editor, and the canvas is as it was.
    tapLabelled("Cancel");
    EXPECT_FALSE(navigation->presentedViewController());
    EXPECT_EQ(editor->editViewArr().size(), 2u);
}
TEST_F(FreeCollageTest, BackAndAddOrDeleteReturnToThePhotoChoice) {
    for (const char* label : {"Back", "Add or Delete"}) {
        SCOPED_TRACE(label);
        open(2);
        const auto below = navigation->viewControllers().front();
        tapLabelled(label);
        EXPECT_EQ(navigation->topViewController(), below);
    }
}
} // namespace
