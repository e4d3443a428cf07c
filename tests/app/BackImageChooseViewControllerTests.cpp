#include "app/BackImageChooseViewController.h"
#include "app/PassValueDelegate.h"
#include "app/PhotosPickerCollectionViewCell.h"
#include "app/RZCommonConfig.h"
#include "app/categories/UIColor+Hex.h"
#include "harness/TouchInjector.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UICollectionViewLayoutAttributes.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"
#include "services/advertise/CVAdvertiseController.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
// Counts the interstitials asked for; none is ever ready.
class CountingAdvertiser : public CVAdvertiseController {
public:
    int interstitialChecks = 0;
    bool showInterstitialLoadingState() override {
        ++interstitialChecks;
        return false;
    }
};

// Records what the chooser hands back.
class Receiver : public PassValueDelegate {
public:
    std::vector<std::string> colors;
    std::vector<std::shared_ptr<UIImage>> images;
    void passSelectedColor(const std::string& color) override { colors.push_back(color); }
    void passSelectedImage(const std::shared_ptr<UIImage>& image) override {
        images.push_back(image);
    }
};

class BackImageChooseTest : public ::testing::Test {
protected:
    void SetUp() override {
        CVAdvertiseController::installShareInstance(advertiser);
        // As the free collage screen leaves them each time it loads.
        auto defaults = NSUserDefaults::standardUserDefaults();
        defaults->setObjectForKey("0", kBackGrandSelectedKey);
        defaults->setObjectForKey("nothing", kBackImageSelectedKey);
        navigation = UINavigationController::initWithRootViewController(root);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }
    void TearDown() override { CVAdvertiseController::installShareInstance(nullptr); }

    // A new chooser pushed over the root screen, as each visit makes one.
    void visit() {
        navigation->popToRootViewControllerAnimated(false);
        chooser = BackImageChooseViewController::init();
        chooser->setValueDelegate(receiver);
        navigation->pushViewControllerAnimated(chooser, false);
        environment.runUntilIdle();
        chooser->backImageCollection()->layoutIfNeeded();
    }
    std::vector<std::shared_ptr<UIButton>> tiles() const {
        std::vector<std::shared_ptr<UIButton>> found;
        for (const auto& view : chooser->colorScrView()->subviews()) {
            if (auto button = std::dynamic_pointer_cast<UIButton>(view)) {
                found.push_back(button);
            }
        }
        return found;
    }
    // By tag; the row itself has tag 0 too, so it is not asked by viewWithTag.
    std::shared_ptr<UIButton> tile(long tag) const {
        for (const auto& button : tiles()) {
            if (button->tag() == tag) {
                return button;
            }
        }
        return nullptr;
    }
    static bool tileMarked(const UIButton& button) {
        for (const auto& view : button.subviews()) {
            if (std::dynamic_pointer_cast<UIImageView>(view)) {
                return true;
            }
        }
        return false;
    }
    std::vector<long> markedTiles() const {
        std::vector<long> marked;
        for (const auto& button : tiles()) {
            if (tileMarked(*button)) {
                marked.push_back(button->tag());
            }
        }
        return marked;
    }
    std::vector<long> markedPictures() const {
        std::vector<long> marked;
        for (long row = 0; row < BackImageChooseViewController::kPictureCount; ++row) {
            auto cell = std::dynamic_pointer_cast<PhotosPickerCollectionViewCell>(
                chooser->backImageCollection()->cellForItemAtIndexPath(
                    NSIndexPath::indexPathForItemInSection(row, 0)));
            if (cell && !cell->selectedImageView()->isHidden()) {
                marked.push_back(row);
            }
        }
        return marked;
    }
    // A real tap on a colour tile, after scrolling the row so the tile is in view.
    void tapTile(long tag) {
        auto button = tile(tag);
        ASSERT_TRUE(button);
        chooser->colorScrView()->setContentOffset(CGPointMake(button->frame().origin.x - 3, 0));
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*button));
        environment.fastForwardBy(1); // the pop's animation
    }
    void tapPicture(long row) {
        auto grid = chooser->backImageCollection();
        CGRect frame =
            grid->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(row, 0))
                ->frame();
        TouchInjector::tapAt(grid->convertPointToView(
            CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame)), nullptr));
        environment.fastForwardBy(1);
    }
    bool chooserOpen() const { return navigation->topViewController() == chooser; }
    static std::string stored(const char* key) {
        return NSUserDefaults::standardUserDefaults()->stringForKey(key);
    }

    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<CountingAdvertiser> advertiser = std::make_shared<CountingAdvertiser>();
    std::shared_ptr<Receiver> receiver = std::make_shared<Receiver>();
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<UIViewController> root = UIViewController::init();
    std::shared_ptr<UINavigationController> navigation;
    std::shared_ptr<BackImageChooseViewController> chooser;
};

TEST_F(BackImageChooseTest, TheBundledColoursMakeATileEachAndTheAdTileFourth) {
    visit();
    const auto& colors = chooser->colorArr();
    ASSERT_EQ(colors.size(), 24u);
    ASSERT_EQ(tiles().size(), 25u);
    EXPECT_EQ(chooser->colorScrView()->contentSize(), CGSizeMake(103 * 24 + 106, 0));
    EXPECT_EQ(chooser->colorScrView()->frame(), CGRectMake(0, 120, 375, 105));
    // tag -> the colour it shows (none for the ad tile)
    const std::vector<std::pair<long, std::optional<size_t>>> table = {
        {0, 0}, {1, 1}, {3, 3}, {4, std::nullopt}, {5, 4}, {9, 8}, {10, 9}, {24, 23}};
    for (const auto& [tag, color] : table) {
        SCOPED_TRACE(tag);
        auto button = tile(tag);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->frame(), CGRectMake(3 + 103 * tag, 3, 100, 100));
        EXPECT_EQ(chooser->colorIndexForTile(tag), color);
        std::string hex = color ? colors[*color] : "f8cbbc";
        ASSERT_TRUE(button->backgroundColor());
        EXPECT_TRUE(button->backgroundColor()->isEqual(*Hex::colorWithHexString(hex)));
        EXPECT_EQ(button->titleForState(UIControlStateNormal), color ? "" : "Ads");
    }
    EXPECT_EQ(markedTiles(), std::vector<long>{0}); // the default choice
    EXPECT_TRUE(markedPictures().empty());
    EXPECT_EQ(chooser->backImageCollection()->numberOfItemsInSection(0), 16);
    EXPECT_EQ(chooser->backImageCollection()->frame(), CGRectMake(0, 280, 375, 453));
}

TEST_F(BackImageChooseTest, ATappedColourIsPassedStoredAndMarkedOnTheNextVisit) {
    for (long tag : {0L, 3L, 5L, 10L}) {
        SCOPED_TRACE(tag);
        // A picture was chosen before; choosing a colour clears its mark.
        NSUserDefaults::standardUserDefaults()->setObjectForKey("2", kBackImageSelectedKey);
        visit();
        std::string expected = chooser->colorArr()[*chooser->colorIndexForTile(tag)];
        receiver->colors.clear();
        ASSERT_NO_FATAL_FAILURE(tapTile(tag));
        EXPECT_EQ(receiver->colors, std::vector<std::string>{expected});
        EXPECT_FALSE(chooserOpen());
        EXPECT_EQ(stored(kBackGrandSelectedKey), std::to_string(tag));
        EXPECT_EQ(stored(kBackImageSelectedKey), "nothing");
        home.relaunchDefaults(); // written to disk, not only held
        visit();
        EXPECT_EQ(markedTiles(), std::vector<long>{tag});
        EXPECT_TRUE(markedPictures().empty());
    }
    EXPECT_TRUE(receiver->images.empty());
}

TEST_F(BackImageChooseTest, TheAdTileAsksForAnInterstitialAndKeepsTheChooserOpen) {
    NSUserDefaults::standardUserDefaults()->setObjectForKey("7", kBackGrandSelectedKey);
    NSUserDefaults::standardUserDefaults()->setObjectForKey("2", kBackImageSelectedKey);
    visit();
    ASSERT_NO_FATAL_FAILURE(tapTile(BackImageChooseViewController::kAdTile));
    EXPECT_EQ(advertiser->interstitialChecks, 1);
    EXPECT_TRUE(chooserOpen());
    EXPECT_TRUE(receiver->colors.empty());
    EXPECT_EQ(stored(kBackGrandSelectedKey), "7");
    EXPECT_EQ(stored(kBackImageSelectedKey), "nothing");
    // The bar's ad button asks too.
    auto adButtons = TouchInjector::viewsWithLabel(window, "AD");
    ASSERT_EQ(adButtons.size(), 1u);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*adButtons[0]));
    EXPECT_EQ(advertiser->interstitialChecks, 2);
    EXPECT_TRUE(chooserOpen());
}

TEST_F(BackImageChooseTest, ATappedPictureIsPassedStoredAndMarkedOnTheNextVisit) {
    visit();
    ASSERT_EQ(chooser->imageArr().size(), 16u);
    for (const auto& thumbnail : chooser->imageArr()) {
        EXPECT_TRUE(thumbnail);
    }
    tapPicture(0);
    ASSERT_EQ(receiver->images.size(), 1u);
    EXPECT_EQ(receiver->images[0], UIImage::imageNamed("FreeImageBackground1.jpg"));
    EXPECT_TRUE(receiver->images[0]);
    EXPECT_FALSE(chooserOpen());
    EXPECT_EQ(stored(kBackImageSelectedKey), "0");
    EXPECT_EQ(stored(kBackGrandSelectedKey), "nothing");
    visit();
    EXPECT_EQ(markedPictures(), std::vector<long>{0});
    EXPECT_TRUE(markedTiles().empty());
    tapPicture(5);
    EXPECT_EQ(receiver->images.back(), UIImage::imageNamed("FreeImageBackground6.jpg"));
    visit();
    EXPECT_EQ(markedPictures(), std::vector<long>{5});
}

// A bundle of our own: a colour list shorter than the chooser expects (or none) and no
// pictures at all.
class ShortBundleTest : public BackImageChooseTest {
protected:
    void useBundle(const std::string& colorList) {
        if (!colorList.empty()) {
            bundle.write("color.plist", colorList);
        }
        NSBundle::setMainBundlePath(bundle.path());
    }
    TempFolder bundle;
};

TEST_F(ShortBundleTest, ShortOrMissingColourListsNeverReachPastTheirEnd) {
    struct Case {
        std::string plist;
        size_t colors;
    };
    const std::string two = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><array><string>ff0000</string><string>00ff00</string></array></plist>)";
    const std::vector<Case> cases = {
        {"", 0},                       // no list
        {"not a property list", 0},    // damaged
        {"<plist><dict/></plist>", 0}, // not a list
        {two, 2},                      // shorter than the tiles before the ad tile
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plist);
        std::filesystem::remove(bundle.file("color.plist"));
        useBundle(c.plist);
        visit();
        EXPECT_EQ(chooser->colorArr().size(), c.colors);
        ASSERT_EQ(tiles().size(), c.colors + 1);
        // The last tile has no colour of its own: choosing it passes none.
        long last = static_cast<long>(c.colors);
        EXPECT_FALSE(chooser->colorIndexForTile(last));
        receiver->colors.clear();
        ASSERT_NO_FATAL_FAILURE(tapTile(last));
        EXPECT_EQ(receiver->colors, std::vector<std::string>{""});
        EXPECT_EQ(stored(kBackGrandSelectedKey), std::to_string(last));
    }
}

TEST_F(ShortBundleTest, MissingPicturesKeepTheirRowsAndPassNothing) {
    useBundle("");
    visit();
    ASSERT_EQ(chooser->imageArr().size(), 16u);
    for (const auto& thumbnail : chooser->imageArr()) {
        EXPECT_FALSE(thumbnail);
    }
    EXPECT_EQ(chooser->backImageCollection()->numberOfItemsInSection(0), 16);
    tapPicture(3);
    ASSERT_EQ(receiver->images.size(), 1u);
    EXPECT_FALSE(receiver->images[0]);
    EXPECT_EQ(stored(kBackImageSelectedKey), "3");
    EXPECT_FALSE(chooserOpen());
}
} // namespace
