#include "app/MixPhotosEditView.h"
#include "app/MixPhotosEditViewController.h"
#include "app/MixStyleCollectionViewCell.h"
#include "app/MixTemplateLayout.h"
#include "app/categories/UIColor+Hex.h"
#include "app/widgets/OVProgressHUD.h"
#include "harness/TouchGesture.h"
#include "harness/TouchInjector.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/graphics/CGImage.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/AlertPanelView.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/PhotoFixtures.h"
#include "tests/support/app/ShownTips.h"

#include <gtest/gtest.h>
#include <pango/pango.h>

namespace {
class TemplateEditorTest : public PhotoLibraryTest {
protected:
    // The application outlives the test: leave it upright.
    void TearDown() override {
        UIApplication::sharedApplication()->rotateToInterfaceOrientation(
            UIInterfaceOrientation::Portrait);
    }
    // `count` photos of distinct sizes, so each cell's photo can be told apart; the names
    // in `unreadable` hold no picture.
    // With `load` false the photos' loads are left waiting.
    void open(int count, const std::vector<std::string>& unreadable = {}, bool load = true) {
        auto assets = std::make_shared<MixPhotosEditViewController::AssetList>();
        for (int i = 0; i < count; ++i) {
            std::string name = "photo" + std::to_string(i) + ".jpg";
            bool broken = std::find(unreadable.begin(), unreadable.end(), name) != unreadable.end();
            std::string path = libraryFile(
                name, broken ? std::vector<uint8_t>{'n', 'o'}
                             : photoJpeg((40 + 10 * i) * photoSizeFactor, 30 * photoSizeFactor));
            assets->push_back(PHAsset::assetWithFileLocalIdentifier(path, name));
        }
        PHPhotoLibrary::reloadLibrary();
        editor = MixPhotosEditViewController::init();
        editor->setSelectedAssets(assets);
        navigation = UINavigationController::initWithRootViewController(UIViewController::init());
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        navigation->pushViewControllerAnimated(editor, false);
        if (load) {
            environment_.runUntilIdle();
            environment_.fastForwardBy(0.5);
        }
    }
    std::shared_ptr<MixStyleCollectionViewCell> styleTile(long row) const {
        editor->mixStyleCollection()->layoutIfNeeded();
        return std::dynamic_pointer_cast<MixStyleCollectionViewCell>(
            editor->mixStyleCollection()->cellForItemAtIndexPath(
                NSIndexPath::indexPathForItemInSection(row, 0)));
    }
    void chooseStyleRow(long row) {
        editor->collectionViewDidSelectItemAtIndexPath(
            *editor->mixStyleCollection(), NSIndexPath::indexPathForItemInSection(row, 0));
    }
    std::vector<std::shared_ptr<UISlider>> sliders() const {
        std::vector<std::shared_ptr<UISlider>> found;
        for (const auto& view : editor->boottomEditView()->subviews()) {
            if (auto slider = std::dynamic_pointer_cast<UISlider>(view)) {
                found.push_back(slider);
            }
        }
        return found;
    }
    // A point inside cell `index`'s outline, in window coordinates.
    CGPoint insideCell(size_t index) const {
        const auto& cell = editor->editViewArr().at(index);
        CGRect bounds = cell->bounds();
        CGPoint centre = CGPointMake(CGRectGetMidX(bounds), CGRectGetMidY(bounds));
        EXPECT_TRUE(cell->realCellArea()->containsPoint(centre));
        return cell->convertPointToView(centre, nullptr);
    }
    double photoWidth(size_t cell) const {
        return editor->editViewArr().at(cell)->imageview()->image()->size().width;
    }

    // How much larger than 40 + 10 i by 30 pixels the photos `open` makes are.
    size_t photoSizeFactor = 1;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<MixPhotosEditViewController> editor;
    std::shared_ptr<UINavigationController> navigation;
};

TEST_F(TemplateEditorTest, PhotosLoadIntoStyleOneAndTheStripMarksRowZero) {
    open(2);
    EXPECT_EQ(editor->backgrandView()->frame(), CGRectMake(0, 64, 375, 453));
    EXPECT_EQ(editor->contentView()->frame(), CGRectMake(0, 0, 375, 453));
    EXPECT_EQ(editor->mixStyleCollection()->frame(), CGRectMake(0, 517, 375, 100));
    EXPECT_EQ(editor->boardBtn()->frame(), CGRectMake(0, 617, 125, 30));
    EXPECT_EQ(editor->backImageBtn()->frame(), CGRectMake(250, 617, 125, 30));
    EXPECT_EQ(editor->selectedPhotos().size(), 2u);
    EXPECT_EQ(editor->editViewArr().size(), 2u);
    EXPECT_EQ(editor->selectStoryBoardStyleIndex(), 1);
    EXPECT_EQ(MixPhotosEditViewController::currentStyleNumber(), 1);
    EXPECT_FALSE(editor->loadingDataActivity()->superview()) << "the overlay went away";
    EXPECT_EQ(editor->mixStyleCollection()->numberOfItemsInSection(0), 6);
    EXPECT_FALSE(styleTile(0)->selectedImageView()->isHidden());
    EXPECT_TRUE(styleTile(3)->selectedImageView()->isHidden());
    // The bar's title: a touch heavier than regular (which DejaVu draws with its book face),
    // white.
    const auto& title = navigation->navigationBar()->titleTextAttributes();
    ASSERT_TRUE(title.font);
    EXPECT_EQ(title.font->pointSize(), 18);
    EXPECT_EQ(pango_font_description_get_weight(title.font->pangoFontDescription()), 443);
    EXPECT_TRUE(CGColorEqualToColor(title.foregroundColor->cgColor(), CGColorMake(1, 1, 1, 1)));
}

TEST_F(TemplateEditorTest, ChoosingAStyleRebuildsTheCellsAndUndoesSwapsAndBorder) {
    open(3);
    chooseStyleRow(2);
    EXPECT_EQ(editor->selectStoryBoardStyleIndex(), 3);
    EXPECT_EQ(MixPhotosEditViewController::selectedStyleRow(), 2);
    EXPECT_EQ(MixPhotosEditViewController::currentStyleNumber(), 3);
    EXPECT_FALSE(styleTile(2)->selectedImageView()->isHidden());
    EXPECT_TRUE(styleTile(0)->selectedImageView()->isHidden());
    ASSERT_EQ(editor->editViewArr().size(), 3u);

    // Swap two photos and shrink the collage; choosing the same style again undoes both.
    auto first = editor->editViewArr()[0]->imageview()->image();
    editor->editViewArr()[0]->imageview()->setImage(editor->editViewArr()[1]->imageview()->image());
    editor->contentView()->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    chooseStyleRow(2);
    EXPECT_EQ(editor->editViewArr().size(), 3u);
    EXPECT_EQ(editor->contentView()->subviews().size(), 3u) << "the old cells are gone";
    EXPECT_EQ(editor->editViewArr()[0]->imageview()->image(), first);
    EXPECT_EQ(editor->contentView()->transform(), CGAffineTransformIdentity);
}

TEST_F(TemplateEditorTest, SlidersShapeTheCellsAndTheCollageAndStartAfreshEachTime) {
    open(2);
    editor->changeActionView(*editor->effectBtn());
    EXPECT_FALSE(editor->mixStyleCollection());
    ASSERT_TRUE(editor->boottomEditView());
    auto rows = sliders();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2], editor->borderSlider());

    rows[0]->setValue(30);
    rows[0]->sendActionsForControlEvents(UIControlEventValueChanged);
    rows[1]->setValue(0.5f);
    rows[1]->sendActionsForControlEvents(UIControlEventValueChanged);
    rows[2]->setValue(0.1f);
    rows[2]->sendActionsForControlEvents(UIControlEventValueChanged);
    for (const auto& cell : editor->editViewArr()) {
        EXPECT_EQ(cell->layer()->cornerRadius(), 30);
        EXPECT_EQ(cell->transform(), CGAffineTransformMakeScale(0.5f, 0.5f));
    }
    EXPECT_EQ(editor->contentView()->transform(), CGAffineTransformMakeScale(0.1f, 0.1f));

    // Away and back: a new panel at the starting values; the collage keeps its look.
    auto firstPanel = editor->boottomEditView();
    editor->changeActionView(*editor->backImageBtn());
    auto colourPanel = editor->boottomEditView();
    editor->changeActionView(*editor->effectBtn());
    EXPECT_FALSE(firstPanel->superview());
    EXPECT_FALSE(colourPanel->superview()) << "one panel at a time";
    rows = sliders();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]->value(), 0);
    EXPECT_EQ(rows[1]->value(), 1);
    EXPECT_EQ(rows[2]->value(), 1);
    EXPECT_EQ(editor->contentView()->transform(), CGAffineTransformMakeScale(0.1f, 0.1f));

    editor->changeActionView(*editor->boardBtn());
    EXPECT_TRUE(editor->mixStyleCollection());
    EXPECT_FALSE(editor->boottomEditView());
}

TEST_F(TemplateEditorTest, ColourAndPatternButtonsPaintTheBackground) {
    open(2);
    editor->changeActionView(*editor->backImageBtn());
    ASSERT_TRUE(editor->boottomEditView());
    ASSERT_FALSE(editor->colorArr().empty());
    auto rows = editor->boottomEditView()->subviews();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]->subviews().size(), editor->colorArr().size());
    EXPECT_EQ(rows[1]->subviews().size(), 45u);

    auto colorButton = std::static_pointer_cast<UIButton>(rows[0]->subviews()[1]);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*colorButton));
    EXPECT_EQ(editor->backgrandView()->backgroundColor()->description(),
              Hex::colorWithHexString(editor->colorArr()[1])->description());

    auto patternButton = std::static_pointer_cast<UIButton>(rows[1]->subviews()[0]);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*patternButton));
    EXPECT_TRUE(editor->backgrandView()->backgroundColor()->patternImage().get());
}

TEST_F(TemplateEditorTest, ALongPressDragSwapsPhotosOnlyWhenDroppedOnAnotherCell) {
    open(2);
    ASSERT_EQ(editor->editViewArr().size(), 2u);
    const double first = photoWidth(0), second = photoWidth(1);
    ASSERT_NE(first, second);

    // Dropped on the pressed cell: nothing changes, and the drag leaves no trace.
    ASSERT_TRUE(
        TouchInjector::perform(TouchGesture::pressAndDrag(insideCell(0), insideCell(0), 0.6, 0.1)));
    EXPECT_EQ(photoWidth(0), first);
    EXPECT_EQ(photoWidth(1), second);
    EXPECT_FALSE(editor->tempImageView());
    EXPECT_EQ(editor->editViewArr()[0]->imageview()->alpha(), 1.0);

    // Dropped on the other cell: the two photos change places.
    ASSERT_TRUE(
        TouchInjector::perform(TouchGesture::pressAndDrag(insideCell(0), insideCell(1), 0.6, 0.3)));
    EXPECT_EQ(photoWidth(0), second);
    EXPECT_EQ(photoWidth(1), first);
    EXPECT_FALSE(editor->tempImageView());
    EXPECT_EQ(editor->editViewArr()[0]->imageview()->alpha(), 1.0);

    // Dropped outside every cell: no swap, and the floating copy does not stay behind.
    CGPoint outside = editor->view()->convertPointToView(CGPointMake(10, 30), nullptr);
    ASSERT_TRUE(
        TouchInjector::perform(TouchGesture::pressAndDrag(insideCell(1), outside, 0.6, 0.3)));
    EXPECT_EQ(photoWidth(1), first);
    EXPECT_FALSE(editor->tempImageView());
    EXPECT_EQ(editor->editViewArr()[1]->imageview()->alpha(), 1.0);
}

TEST_F(TemplateEditorTest, RotationLaysTheCellsOutInTheNewAreaAndKeepsTheBorderScale) {
    open(2);
    chooseStyleRow(1);
    const auto spanned = [&] {
        CGRect covered = CGRectNull;
        for (const auto& cell : editor->editViewArr()) {
            covered = CGRectUnion(covered, cell->frame());
        }
        return covered.size;
    };
    UIApplication::sharedApplication()->rotateToInterfaceOrientation(
        UIInterfaceOrientation::LandscapeLeft);
    // Turned, the collage keeps its upright shape and stays between the navigation bar
    // (64 points with the status bar) and the bottom controls (150), centred there.
    CGRect turned = editor->backgrandView()->frame();
    EXPECT_NEAR(turned.size.width / turned.size.height, 375.0 / 453.0, 1e-9);
    EXPECT_NEAR(turned.origin.y, 64, 1e-9);
    EXPECT_NEAR(CGRectGetMaxY(turned), 375 - 150, 1e-9);
    EXPECT_NEAR(CGRectGetMidX(turned), 667 / 2.0, 1e-9);
    CGSize area = editor->contentView()->bounds().size;
    EXPECT_EQ(area, turned.size);
    ASSERT_EQ(editor->editViewArr().size(), 2u);
    EXPECT_EQ(editor->contentView()->subviews().size(), 2u);
    EXPECT_EQ(editor->selectStoryBoardStyleIndex(), 2) << "the current style again";
    EXPECT_NEAR(spanned().width, area.width, 1);
    EXPECT_NEAR(spanned().height, area.height, 1);

    // Under a border scale the area still fills the background, centred, the cells fill
    // the area's own size, and the scale stays.
    editor->contentView()->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    UIApplication::sharedApplication()->rotateToInterfaceOrientation(
        UIInterfaceOrientation::Portrait);
    EXPECT_EQ(editor->backgrandView()->frame(), CGRectMake(0, 64, 375, 453));
    CGSize background = editor->backgrandView()->bounds().size;
    EXPECT_EQ(editor->contentView()->bounds().size, background);
    EXPECT_EQ(editor->contentView()->center(),
              CGPointMake(background.width / 2, background.height / 2));
    EXPECT_NEAR(spanned().width, background.width, 1);
    EXPECT_NEAR(spanned().height, background.height, 1);
    EXPECT_EQ(editor->contentView()->transform(), CGAffineTransformMakeScale(0.5, 0.5));
}

TEST_F(TemplateEditorTest, PhotosKeepTheOrderTheyWereChosenIn) {
    open(3);
    ASSERT_EQ(editor->editViewArr().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        // Photo i is 40 + 10 i pixels wide before it is fitted to the screen.
        auto photo = editor->selectedPhotos()[i]->size();
        EXPECT_NEAR(photo.width / photo.height, (40.0 + 10.0 * double(i)) / 30.0, 0.02);
    }
}

TEST_F(TemplateEditorTest, AnUnreadablePhotoIsLeftOutInsteadOfKeepingTheOverlay) {
    open(3, {"photo1.jpg"});
    ASSERT_EQ(editor->selectedPhotos().size(), 2u);
    auto last = editor->selectedPhotos()[1]->size();
    EXPECT_NEAR(last.width / last.height, 60.0 / 30.0, 0.02) << "the third photo moved up";
    EXPECT_FALSE(editor->loadingDataActivity()->superview());
    EXPECT_EQ(editor->editViewArr().size(), 2u) << "laid out as a two-photo collage";
    auto alert =
        std::dynamic_pointer_cast<UIAlertController>(navigation->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), "Some photos could not be read");
}

TEST_F(TemplateEditorTest, WithTooFewReadablePhotosTheScreenSaysSoAndGoesBack) {
    const std::vector<std::vector<std::string>> cases = {{"photo0.jpg", "photo1.jpg"},
                                                         {"photo1.jpg"}};
    for (const auto& unreadable : cases) {
        SCOPED_TRACE(unreadable.size());
        open(2, unreadable);
        EXPECT_TRUE(editor->editViewArr().empty());
        EXPECT_FALSE(editor->loadingDataActivity()->superview());
        auto alert =
            std::dynamic_pointer_cast<UIAlertController>(navigation->presentedViewController());
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->message(), "Too few photos could be read for a collage");
        EXPECT_FALSE(editor->navigationItem()->rightBarButtonItem()->isEnabled())
            << "no collage to share";
        auto panel = std::dynamic_pointer_cast<AlertPanelView>(alert->view());
        ASSERT_TRUE(panel);
        auto ok = panel->buttonRectForTitle("OK");
        ASSERT_TRUE(ok);
        TouchInjector::tapAt(panel->convertPointToView(
            CGPointMake(CGRectGetMidX(*ok), CGRectGetMidY(*ok)), nullptr));
        environment_.fastForwardBy(1);
        EXPECT_NE(navigation->topViewController(), editor);
    }
}

TEST_F(TemplateEditorTest, ATurnBeforeThePhotosArriveLeavesThemToFillTheTurnedArea) {
    open(2, {}, false);
    UIApplication::sharedApplication()->rotateToInterfaceOrientation(
        UIInterfaceOrientation::LandscapeLeft);
    environment_.runUntilIdle();
    ASSERT_EQ(editor->editViewArr().size(), 2u);
    CGRect covered =
        CGRectUnion(editor->editViewArr()[0]->frame(), editor->editViewArr()[1]->frame());
    EXPECT_NEAR(covered.size.width, editor->backgrandView()->frame().size.width, 1);
    EXPECT_LT(covered.size.width, 667) << "the turned collage keeps its upright shape";
    for (const auto& line : log_) {
        EXPECT_EQ(line.find("cannot be read"), std::string::npos) << line;
    }
}

TEST_F(TemplateEditorTest, ADragWhoseCellsWereRebuiltSwapsNothing) {
    open(2);
    const double first = photoWidth(0), second = photoWidth(1);
    bool lifted = false;
    ASSERT_TRUE(TouchInjector::performAsync(
        TouchGesture::pressAndDrag(insideCell(0), insideCell(1), 0.6, 0.4),
        [&lifted] { lifted = true; }));
    environment_.fastForwardBy(0.7);
    ASSERT_TRUE(editor->tempImageView()) << "the drag is under way";
    chooseStyleRow(0);
    environment_.fastForwardBy(1);
    ASSERT_TRUE(lifted);
    EXPECT_EQ(photoWidth(0), first);
    EXPECT_EQ(photoWidth(1), second);
    EXPECT_FALSE(editor->tempImageView());
}

TEST_F(TemplateEditorTest, TheFinishedPictureIsTheOpaqueBackgroundAtScreenScale) {
    open(2);
    editor->backgrandView()->setBackgroundColor(UIColor::clearColor());
    auto picture = editor->saveAndGetMixdImage();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), CGSizeMake(375, 453));
    EXPECT_EQ(picture->cgImage()->format(), CGImagePixelFormat::RGB24);
}

TEST_F(TemplateEditorTest, ChangingModeBeforeThePhotosArriveStillLaysThemOut) {
    open(2, {}, false);
    editor->changeActionView(*editor->effectBtn());
    environment_.runUntilIdle();
    EXPECT_EQ(editor->editViewArr().size(), 2u);
    editor->changeActionView(*editor->boardBtn());
    EXPECT_FALSE(styleTile(0)->selectedImageView()->isHidden());
}

TEST_F(TemplateEditorTest, TheCollageIsOfferedOnlyOnceItsPhotosAreLaidOut) {
    open(2, {}, false);
    window->layoutIfNeeded();
    EXPECT_TRUE(TouchInjector::viewsWithLabel(window, "Share").empty())
        << "Share waits for the photos";
    // Asked all the same, the editor has only its bare background: it says so, and
    // offers nothing to save.
    EventLog::clear();
    editor->shareMixPhoto();
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
    EXPECT_EQ(shownTips(), std::vector<std::string>{"There is no picture yet"});

    // The photos arrive and the tip goes.
    environment_.runUntilIdle();
    environment_.fastForwardBy(3);
    auto share = TouchInjector::viewsWithLabel(window, "Share");
    ASSERT_EQ(share.size(), 1u);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*share.front()));
    environment_.fastForwardBy(1);
    auto sheet =
        std::dynamic_pointer_cast<UIAlertController>(navigation->presentedViewController());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->preferredStyle(), UIAlertControllerStyle::ActionSheet);
}

TEST_F(TemplateEditorTest, PhotosHaveAPixelForEveryScreenPixelOfTheirCells) {
    // Photos far larger than the screen: what matters is how much of them is decoded.
    photoSizeFactor = 40;
    open(5);
    const double scale = UIScreen::mainScreen()->scale();
    for (long row = 0; row < MixTemplateLayout::kStyleCount; ++row) {
        SCOPED_TRACE(row);
        chooseStyleRow(row);
        ASSERT_EQ(editor->editViewArr().size(), 5u);
        for (const auto& cell : editor->editViewArr()) {
            // A photo covering its cell with as many pixels across and down as the cell has
            // on the screen is shown without being enlarged.
            const auto photo = cell->imageview()->image()->cgImage();
            const CGSize area = cell->frame().size;
            EXPECT_GE(double(photo->width()) + 1, area.width * scale);
            EXPECT_GE(double(photo->height()) + 1, area.height * scale);
        }
    }
}

TEST_F(TemplateEditorTest, TheColourRowIsFilledUprightAndTurned) {
    open(2);
    for (auto orientation :
         {UIInterfaceOrientation::Portrait, UIInterfaceOrientation::LandscapeLeft}) {
        SCOPED_TRACE(static_cast<int>(orientation));
        UIApplication::sharedApplication()->rotateToInterfaceOrientation(orientation);
        // The panel is built for the screen as it is when it is chosen.
        editor->changeActionView(*editor->backImageBtn());
        window->layoutIfNeeded();
        auto colourRow =
            std::dynamic_pointer_cast<UIScrollView>(editor->boottomEditView()->subviews().front());
        ASSERT_TRUE(colourRow);
        EXPECT_EQ(colourRow->frame().size.width, UIScreen::mainScreen()->bounds().size.width);
        CGRect tiles = CGRectNull;
        for (const auto& tile : colourRow->subviews()) {
            tiles = CGRectUnion(tiles, tile->frame());
        }
        EXPECT_EQ(tiles.origin.x, 0);
        EXPECT_GE(CGRectGetMaxX(tiles), colourRow->frame().size.width)
            << "no empty stretch beside the colours";
        // Were the tiles to end early, the screen's grey would show, not the panel's black.
        EXPECT_TRUE(colourRow->backgroundColor()->isEqual(*editor->view()->backgroundColor()));
    }
}
} // namespace
