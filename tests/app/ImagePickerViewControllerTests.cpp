#include "app/DavuVovEditViewController.h"
#include "app/ImagePickerViewController.h"
#include "app/MixPhotosEditViewController.h"
#include "app/PhotosPickerCollectionViewCell.h"
#include "app/PhotosSelectedView.h"
#include "app/output/MixImageOutput.h"
#include "app/widgets/DMDropdownView.h"
#include "harness/TouchInjector.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHAssetCollection.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UICollectionViewLayoutAttributes.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/UIWindow.h"
#include "services/advertise/CVAdvertiseController.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>
#include <pango/pango.h>

#include <filesystem>

namespace {
class PickerTest : public PhotoLibraryTest {
protected:
    // Six photos in one album, taken a day apart, a video and a text file beside them.
    void makeLibrary() {
        for (int i = 0; i < 6; ++i) {
            libraryFile("Holidays/photo" + std::to_string(i) + ".jpg",
                        photoJpeg(40, 30, 0, "2026:01:0" + std::to_string(6 - i) + " 10:00:00"));
        }
        libraryFile("Holidays/clip.mov", videoBytes());
        libraryFile("Holidays/notes.jpg", {'h', 'e', 'l', 'l', 'o'});
        libraryFile("Work/plan.jpg", photoJpeg(30, 40));
        PHPhotoLibrary::reloadLibrary();
    }
    void open(int32_t mixStyle = 0) {
        picker = ImagePickerViewController::init();
        picker->setMixStyle(mixStyle);
        navigation = UINavigationController::initWithRootViewController(picker);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        environment_.runUntilIdle();
        environment_.fastForwardBy(0.5); // the loading overlay fades away
    }
    void chooseItem(long item) {
        auto frame = picker->photosCollection()
                         ->layoutAttributesForItemAtIndexPath(
                             NSIndexPath::indexPathForItemInSection(item, 0))
                         ->frame();
        CGPoint centre = picker->photosCollection()->convertPointToView(
            CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame)), nullptr);
        TouchInjector::tapAt(centre);
        environment_.runUntilIdle();
    }
    void showAlbum(const std::string& title) {
        picker->onTitleMenuButtonTouched();
        environment_.fastForwardBy(1);
        for (size_t i = 0; i < picker->photoList().size(); ++i) {
            if (picker->photoList()[i]->localizedTitle() == title) {
                picker->tableViewDidSelectRowAtIndexPath(
                    *picker->menuTableView(),
                    NSIndexPath::indexPathForRowInSection(static_cast<long>(i), 0));
            }
        }
        environment_.fastForwardBy(1);
        environment_.fastForwardBy(0.5);
    }

    std::shared_ptr<PhotosPickerCollectionViewCell> cellAt(long item) {
        return std::dynamic_pointer_cast<PhotosPickerCollectionViewCell>(
            picker->photosCollection()->cellForItemAtIndexPath(
                NSIndexPath::indexPathForItemInSection(item, 0)));
    }
    // The alert a tap put up, once it has come in.
    std::shared_ptr<UIAlertController> alertShown() {
        environment_.fastForwardBy(1);
        return std::dynamic_pointer_cast<UIAlertController>(navigation->presentedViewController());
    }

    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<ImagePickerViewController> picker;
    std::shared_ptr<UINavigationController> navigation;
};

TEST_F(PickerTest, LayoutOnTheDefaultScreen) {
    makeLibrary();
    open();
    auto grid = picker->photosCollection();
    EXPECT_EQ(grid->frame(), CGRectMake(0, 64, 375, 453)); // y 64 to 517
    auto cell =
        grid->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(1, 0));
    EXPECT_EQ(cell->frame(), CGRectMake(94.25, 2, 92.25, 92.25));
    EXPECT_EQ(picker->countLabel()->frame(), CGRectMake(0, 522, 225, 30));
    EXPECT_EQ(picker->mixEnterBtn()->frame(), CGRectMake(275, 519, 90, 38));
    EXPECT_EQ(picker->selectedScrView()->frame(), CGRectMake(0, 557, 375, 100));
    EXPECT_EQ(picker->countLabel()->text(), "  0 Photos Selected");
    EXPECT_EQ(picker->countLabel()->font()->pointSize(), 15);
    EXPECT_EQ(
        pango_font_description_get_weight(picker->countLabel()->font()->pangoFontDescription()),
        487);
    EXPECT_EQ(picker->mixEnterBtn()->alpha(), 0.5);
    EXPECT_FALSE(picker->mixEnterBtn()->isUserInteractionEnabled());
    EXPECT_EQ(picker->adViewBottomOffsetFromSuperViewBottom(), 150.0f);
}

TEST_F(PickerTest, AlbumsInMenuOrderAndAssetsOldestFirstWithoutVideos) {
    makeLibrary();
    open();
    std::vector<std::string> titles;
    for (const auto& album : picker->photoList()) {
        titles.push_back(album->localizedTitle());
    }
    EXPECT_EQ(titles,
              (std::vector<std::string>{"Recently Added", "All Photos", "Holidays", "Work"}));
    showAlbum("Holidays");
    ASSERT_EQ(picker->assetArray().size(), 6u); // the video and the text file left out
    EXPECT_EQ(picker->assetArray().front()->localIdentifier(), "Holidays/photo5.jpg");
    EXPECT_EQ(picker->assetArray().back()->localIdentifier(), "Holidays/photo0.jpg");
}

TEST_F(PickerTest, ChoosingUpToFivePhotos) {
    makeLibrary();
    open();
    showAlbum("Holidays");
    chooseItem(0);
    EXPECT_FALSE(picker->mixEnterBtn()->isUserInteractionEnabled());
    chooseItem(1);
    EXPECT_TRUE(picker->mixEnterBtn()->isUserInteractionEnabled());
    EXPECT_EQ(picker->mixEnterBtn()->alpha(), 1.0);
    chooseItem(2);
    EXPECT_EQ(picker->countLabel()->text(), "  3 Photos Selected");
    chooseItem(2); // the same photo again is a second choice
    chooseItem(4);
    ASSERT_EQ(picker->selectedAssets()->size(), 5u);
    EXPECT_EQ(picker->selectedPhotos().size(), 5u);
    for (const auto& photo : picker->selectedPhotos()) {
        EXPECT_TRUE(photo); // never a missing picture
    }
    EXPECT_EQ(picker->selectedScrView()->contentOffset(), CGPointMake(103, 0));
    EXPECT_EQ(picker->selectedScrView()->contentSize(), CGSizeMake(515, 0));
    EXPECT_EQ(picker->selectedScrView()->subviews().size(), 5u);

    // A sixth is refused with the reminder; the count stays 5.
    chooseItem(5);
    auto alert = alertShown();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Remind info");
    EXPECT_EQ(alert->message(), "You can choose 5 photos at most");
    EXPECT_EQ(picker->selectedAssets()->size(), 5u);
}

TEST_F(PickerTest, DeletingFromTheStrip) {
    makeLibrary();
    open();
    showAlbum("Holidays");
    chooseItem(0);
    chooseItem(1);
    auto strip = picker->selectedScrView();
    auto first = std::dynamic_pointer_cast<PhotosSelectedView>(strip->subviews().at(0));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->deleteBtn()->tag(), 0);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*first->deleteBtn()));
    environment_.fastForwardBy(0.3);
    ASSERT_EQ(picker->selectedAssets()->size(), 1u);
    EXPECT_EQ(picker->selectedAssets()->front()->localIdentifier(), "Holidays/photo4.jpg");
    EXPECT_EQ(picker->mixEnterBtn()->alpha(), 0.4); // not the first 0.5
    EXPECT_FALSE(picker->mixEnterBtn()->isUserInteractionEnabled());
    EXPECT_EQ(picker->countLabel()->text(), "  1 Photos Selected");
}

TEST_F(PickerTest, SwitchingAlbumsKeepsTheChoiceButHidesCheckMarks) {
    makeLibrary();
    open();
    showAlbum("Holidays");
    chooseItem(0);
    auto cell = cellAt(0);
    ASSERT_TRUE(cell);
    EXPECT_FALSE(cell->selectedImageView()->isHidden());
    showAlbum("Work");
    EXPECT_TRUE(picker->haveChangedList());
    EXPECT_EQ(picker->selectedAssets()->size(), 1u);
    chooseItem(0);
    cell = cellAt(0);
    EXPECT_TRUE(cell->selectedImageView()->isHidden());
    EXPECT_EQ(picker->selectedAssets()->size(), 2u);
}

TEST_F(PickerTest, MakeOpensTheEditorOfTheKindWithTheSharedList) {
    makeLibrary();
    for (int style : {0, 1}) {
        open(style);
        showAlbum("Holidays");
        chooseItem(0);
        chooseItem(1);
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*picker->mixEnterBtn()));
        environment_.fastForwardBy(1);
        if (style == 0) {
            auto editor = std::dynamic_pointer_cast<MixPhotosEditViewController>(
                navigation->topViewController());
            ASSERT_TRUE(editor);
            EXPECT_EQ(editor->selectedAssets(), picker->selectedAssets()); // shared, not copied
        } else {
            EXPECT_TRUE(std::dynamic_pointer_cast<DavuVovEditViewController>(
                navigation->topViewController()));
        }
    }
}

// An ad controller with an interstitial always ready; it counts presentations.
class ReadyAdvertiser : public CVAdvertiseController {
public:
    std::vector<std::shared_ptr<UIViewController>> shownFrom;
    bool showInterstitialLoadingState() override { return true; }
    void showInterstitial(const std::shared_ptr<UIViewController>& controller) override {
        shownFrom.push_back(controller);
    }
};

TEST_F(PickerTest, TheFullScreenAdFlagAsksForOneInterstitialAndIsCleared) {
    auto advertiser = std::make_shared<ReadyAdvertiser>();
    CVAdvertiseController::installShareInstance(advertiser);
    open();
    EXPECT_TRUE(advertiser->shownFrom.empty()); // no flag, no interstitial
    NSUserDefaults::standardUserDefaults()->setBoolForKey(true, kShouldShowFullScreenAdKey);
    picker->beginAppearanceTransition(false, false);
    picker->endAppearanceTransition();
    picker->beginAppearanceTransition(true, false);
    picker->endAppearanceTransition();
    ASSERT_EQ(advertiser->shownFrom.size(), 1u);
    EXPECT_EQ(advertiser->shownFrom[0], picker);
    EXPECT_FALSE(NSUserDefaults::standardUserDefaults()->boolForKey(kShouldShowFullScreenAdKey));
    CVAdvertiseController::installShareInstance(nullptr);
}

TEST_F(PickerTest, AChoiceBeforeItsThumbnailArrivedNeverKeepsAMissingPicture) {
    makeLibrary();
    libraryFile("Holidays/broken.jpg", [] {
        // Its header is whole (it is listed); its picture data stops halfway.
        auto bytes = photoJpeg(400, 300, 0, "2026:01:01 09:00:00");
        bytes.resize(bytes.size() * 2 / 3);
        return bytes;
    }());
    PHPhotoLibrary::reloadLibrary();
    open();
    picker->onTitleMenuButtonTouched();
    environment_.fastForwardBy(1);
    for (size_t i = 0; i < picker->photoList().size(); ++i) {
        if (picker->photoList()[i]->localizedTitle() == "Holidays") {
            picker->tableViewDidSelectRowAtIndexPath(
                *picker->menuTableView(), NSIndexPath::indexPathForRowInSection(long(i), 0));
        }
    }
    environment_.fastForwardBy(1);
    environment_.fastForwardBy(0.5);
    // The grid's cells have asked for their thumbnails; none has been decoded yet.
    long broken = -1;
    for (size_t i = 0; i < picker->assetArray().size(); ++i) {
        if (picker->assetArray()[i]->localIdentifier() == "Holidays/broken.jpg") {
            broken = static_cast<long>(i);
        }
    }
    ASSERT_GE(broken, 0);
    long good = broken == 0 ? 1 : 0;
    auto tapCell = [&](long item) {
        auto frame = picker->photosCollection()
                         ->layoutAttributesForItemAtIndexPath(
                             NSIndexPath::indexPathForItemInSection(item, 0))
                         ->frame();
        TouchInjector::tapAt(picker->photosCollection()->convertPointToView(
            CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame)), nullptr));
    };
    tapCell(good); // a good photo, its thumbnail still pending
    ASSERT_EQ(picker->selectedPhotos().size(), 1u);
    EXPECT_TRUE(picker->selectedPhotos()[0]);
    tapCell(broken); // the broken one: refused, nothing added
    EXPECT_EQ(picker->selectedAssets()->size(), 1u);
    EXPECT_EQ(picker->countLabel()->text(), "  1 Photos Selected");
}

TEST_F(PickerTest, PhotosOfAnyShapeFillTheirSquaresCutNotStretched) {
    libraryFile("Shapes/wide.jpg", photoJpeg(400, 100, 0, "2026:01:01 10:00:00"));
    libraryFile("Shapes/tall.jpg", photoJpeg(100, 400, 0, "2026:01:02 10:00:00"));
    PHPhotoLibrary::reloadLibrary();
    open();
    showAlbum("Shapes");
    ASSERT_EQ(picker->assetArray().size(), 2u);
    chooseItem(0);
    chooseItem(1);
    for (long item : {0, 1}) {
        SCOPED_TRACE(item);
        auto cell = cellAt(item);
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->imageView()->contentMode(), UIViewContentMode::ScaleAspectFill);
        EXPECT_TRUE(cell->imageView()->clipsToBounds());
        auto image = cell->imageView()->image();
        ASSERT_TRUE(image);
        // The middle of the photo, at the cell's pixel size: square, as the cell.
        EXPECT_EQ(image->cgImage()->width(), image->cgImage()->height());

        auto strip = std::dynamic_pointer_cast<PhotosSelectedView>(
            picker->selectedScrView()->subviews().at(size_t(item)));
        ASSERT_TRUE(strip);
        EXPECT_EQ(strip->imageView()->contentMode(), UIViewContentMode::ScaleAspectFill);
        EXPECT_TRUE(strip->imageView()->clipsToBounds());
    }
}

TEST_F(PickerTest, AnEmptyGridSaysWhy) {
    TempFolder elsewhere;
    const std::string file = elsewhere.write("library.jpg", "a file");
    const struct {
        std::string library; // empty: the test's library, with an empty album
        std::string said;
    } cases[] = {
        {elsewhere.file("gone"),
         "The photo library folder " + elsewhere.file("gone") + " does not exist."},
        {file, "The photo library " + file + " is a file, not a folder."},
        {"", "No photos in this album."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        if (c.library.empty()) {
            std::filesystem::create_directories(library_.file("Empty"));
            PHPhotoLibrary::configure(library_.path(), PHAccessAnswer::Granted);
        } else {
            PHPhotoLibrary::configure(c.library, PHAccessAnswer::Granted);
        }
        open();
        ASSERT_TRUE(picker->emptyLabel());
        EXPECT_FALSE(picker->emptyLabel()->isHidden());
        EXPECT_EQ(picker->emptyLabel()->text(), c.said);
        EXPECT_EQ(picker->emptyLabel()->superview(), picker->view());
    }
    // Photos hide it again.
    libraryFile("Empty/photo.jpg", photoJpeg(40, 30));
    PHPhotoLibrary::reloadLibrary();
    open();
    showAlbum("Empty");
    ASSERT_EQ(picker->assetArray().size(), 1u);
    EXPECT_TRUE(picker->emptyLabel()->isHidden());
}

TEST_F(PickerTest, APhotoThatCannotBeReadShowsABrokenCellAndSaysSoWhenTapped) {
    makeLibrary();
    // Its header claims 10000 x 10000 pixels; the file holds a few hundred bytes.
    libraryFile("Holidays/huge.jpg",
                jpegWithSize(photoJpeg(40, 30, 0, "2026:01:01 09:00:00"), 10000, 10000));
    PHPhotoLibrary::reloadLibrary();
    open();
    showAlbum("Holidays");
    ASSERT_EQ(picker->assetArray().front()->localIdentifier(), "Holidays/huge.jpg");
    auto cell = cellAt(0);
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->isBroken());
    EXPECT_FALSE(cell->brokenLabel()->isHidden());
    EXPECT_FALSE(cell->imageView()->image());
    EXPECT_FALSE(cell->brokenReason().empty());

    chooseItem(0);
    auto alert = alertShown();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "This photo cannot be opened");
    EXPECT_EQ(alert->message(), cell->brokenReason());
    EXPECT_TRUE(picker->selectedAssets()->empty());
    EXPECT_EQ(picker->countLabel()->text(), "  0 Photos Selected");

    // A cell given a good photo again shows no sign.
    cell->displayCellForAsset(picker->assetArray().at(1));
    EXPECT_FALSE(cell->isBroken());
}

TEST_F(PickerTest, APhotoBeyondTheDecodersLimitIsInTheAlbumAsOneThatCannotBeOpened) {
    makeLibrary();
    // 30000 x 20000 is 600 million pixels, more than the decoders take.
    libraryFile("Holidays/panorama.jpg",
                jpegWithSize(photoJpeg(40, 30, 0, "2026:01:01 09:00:00"), 30000, 20000));
    PHPhotoLibrary::reloadLibrary();
    open();
    showAlbum("Holidays");
    ASSERT_EQ(picker->assetArray().front()->localIdentifier(), "Holidays/panorama.jpg");
    EXPECT_EQ(picker->assetArray().front()->pixelWidth(), 30000u);
    auto cell = cellAt(0);
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->isBroken());
    EXPECT_FALSE(cell->brokenLabel()->isHidden());
    EXPECT_NE(cell->brokenReason().find("too large"), std::string::npos) << cell->brokenReason();
}

TEST(PickerCounter, AMissingTranslationShowsSafeText) {
    TestHome home;
    EXPECT_EQ(ImagePickerViewController::counterText(3), "  3 Photos Selected");
    NSBundle::setMainBundlePath(home.path()); // a bundle without string tables
    EXPECT_EQ(ImagePickerViewController::counterText(2), "  2 Photos Selected");
}
} // namespace
