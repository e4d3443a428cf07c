#include "app/ImagePickerViewController.h"
#include "app/output/MixImageOutput.h"
#include "app/widgets/OVProgressHUD.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/UIActivityViewController.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PhotoFixtures.h"
#include "tests/support/app/ShownTips.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {
namespace fs = std::filesystem;

class MixImageOutputTest : public PhotoLibraryTest {
protected:
    MixImageOutputTest() {
        EventLog::clear();
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        environment_.runUntilIdle();
        // A small collage: a coloured background with two coloured cards on it.
        collage->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(0.2, 0.4, 0.9, 1));
        auto card = UIView::initWithFrame(CGRectMake(10, 10, 40, 30));
        card->setBackgroundColor(UIColor::redColor());
        collage->addSubview(card);
        screen->view()->addSubview(collage);
    }

    std::string homeFile(const std::string& name) const {
        return stringByAppendingPathComponent(home_.path(), name);
    }
    std::string shareFile() const { return homeFile("Library/MixdImage.png"); }

    // Renders the collage as the screen does and opens the sheet; returns the sheet.
    std::shared_ptr<UIAlertController> openSheet() {
        image = MixImageOutput::imageByRenderingViewScaleOpaque(*collage, 0, true);
        output = MixImageOutput::presentForImageFromViewController(image, screen);
        environment_.fastForwardBy(1);
        return std::dynamic_pointer_cast<UIAlertController>(navigation->presentedViewController());
    }
    // Opens the sheet, taps `title` and lets the action run to its end.
    void choose(const std::string& title) {
        auto sheet = openSheet();
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(sheet->tapActionWithTitle(title));
        for (int i = 0; i < 3; ++i) {
            environment_.fastForwardBy(1);
        }
    }

    bool flag() const {
        return NSUserDefaults::standardUserDefaults()->boolForKey(kShouldShowFullScreenAdKey);
    }
    std::shared_ptr<UIActivityViewController> shareSheet() const {
        return std::dynamic_pointer_cast<UIActivityViewController>(
            navigation->presentedViewController());
    }
    void expectSamePixels(const std::string& path, const std::shared_ptr<UIImage>& expected) {
        SCOPED_TRACE(path);
        auto written = UIImage::imageWithContentsOfFile(path);
        ASSERT_NE(written, nullptr);
        ASSERT_NE(expected, nullptr);
        EXPECT_EQ(pixelsOf(*written->cgImage()), pixelsOf(*expected->cgImage()));
    }

    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<UIViewController> screen = UIViewController::init();
    std::shared_ptr<UINavigationController> navigation =
        UINavigationController::initWithRootViewController(screen);
    std::shared_ptr<UIView> collage = UIView::initWithFrame(CGRectMake(0, 80, 120, 90));
    std::shared_ptr<UIImage> image;
    std::shared_ptr<MixImageOutput> output;
};

TEST_F(MixImageOutputTest, TheSheetOffersCancelCopySaveShare) {
    auto sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->preferredStyle(), UIAlertControllerStyle::ActionSheet);
    std::vector<std::string> titles;
    for (const auto& action : sheet->actions()) {
        titles.push_back(action->title());
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Cancel", "Copy", "Save", "Share"}));
    EXPECT_EQ(sheet->actions().front()->style(), UIAlertActionStyle::Cancel);
    // The collage at the screen's scale, opaque.
    EXPECT_EQ(image->cgImage()->width(), 240u);
    EXPECT_EQ(image->cgImage()->height(), 180u);
}

TEST_F(MixImageOutputTest, EachActionLeavesThePictureInTheHomeAndRaisesTheFlag) {
    struct Case {
        const char* title;
        const char* file;
        std::vector<std::string> tips;
    };
    const Case cases[] = {
        {"Copy", "Pasteboard.png", {"Done"}},
        {"Save", "Album/IMG_0001.png", {"Saved to the album"}},
        {"Share", "Library/MixdImage.png", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EventLog::clear();
        NSUserDefaults::standardUserDefaults()->setBoolForKey(false, kShouldShowFullScreenAdKey);
        ASSERT_NO_FATAL_FAILURE(choose(c.title));
        ASSERT_NO_FATAL_FAILURE(expectSamePixels(homeFile(c.file), image));
        EXPECT_TRUE(flag());
        EXPECT_EQ(shownTips(), c.tips);
        ASSERT_NE(output->loadingDataActivity(), nullptr);
        EXPECT_EQ(output->loadingDataActivity()->superview(), nullptr);
    }
    // The flag was saved, not only set.
    home_.relaunchDefaults();
    EXPECT_TRUE(flag());
    // Share ended with the share sheet offering the written file.
    auto sheet = shareSheet();
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->activityItems().size(), 1u);
    auto url = std::get<std::shared_ptr<NSURL>>(sheet->activityItems().front());
    EXPECT_EQ(fs::path(url->path()), fs::path(shareFile()));
}

TEST_F(MixImageOutputTest, CancelChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(choose("Cancel"));
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
    EXPECT_FALSE(flag());
    EXPECT_TRUE(shownTips().empty());
    for (const char* file : {"Pasteboard.png", "Album", "Library/MixdImage.png"}) {
        EXPECT_FALSE(fs::exists(homeFile(file))) << file;
    }
}

TEST_F(MixImageOutputTest, ASecondShareReplacesTheFile) {
    ASSERT_NO_FATAL_FAILURE(choose("Share"));
    auto first = image;
    ASSERT_NE(shareSheet(), nullptr);
    navigation->dismissViewControllerAnimatedCompletion(false, nullptr);
    environment_.fastForwardBy(1);

    collage->setBackgroundColor(UIColor::greenColor());
    ASSERT_NO_FATAL_FAILURE(choose("Share"));
    ASSERT_NE(pixelsOf(*first->cgImage()), pixelsOf(*image->cgImage()));
    ASSERT_NO_FATAL_FAILURE(expectSamePixels(shareFile(), image));
    ASSERT_NE(shareSheet(), nullptr);
    // Nothing of the writing is left beside it.
    for (const auto& entry : fs::directory_iterator(homeFile("Library"))) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "MixdImage.png" || name.find("MixdImage") == std::string::npos) << name;
    }
}

TEST_F(MixImageOutputTest, AFailedWriteIsReportedAndRaisesNothing) {
    struct Case {
        const char* title;
        const char* blocker; // a path made unusable for the write
        bool blockerIsFolder;
        const char* tip;
    };
    const Case cases[] = {
        {"Copy", "Pasteboard.png", true, "Failed"},
        {"Save", "Album", false, "Could not save to the album"},
        {"Share", "Library/MixdImage.png", true, "Failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EventLog::clear();
        const std::string blocker = homeFile(c.blocker);
        if (c.blockerIsFolder) {
            writeBytes(blocker + "/keep", {1});
        } else {
            writeBytes(blocker, {1});
        }
        ASSERT_NO_FATAL_FAILURE(choose(c.title));
        EXPECT_FALSE(flag());
        EXPECT_EQ(shownTips(), std::vector<std::string>{c.tip});
        EXPECT_EQ(shareSheet(), nullptr);
        EXPECT_EQ(output->loadingDataActivity()->superview(), nullptr);
        fs::remove_all(blocker);
    }
}

TEST_F(MixImageOutputTest, ABlankPictureIsRefusedOnScreenAndNothingIsOffered) {
    // A collage whose photos are not in yet renders as its bare background.
    collage->subviews().front()->removeFromSuperview();
    const std::shared_ptr<UIImage> blank =
        MixImageOutput::imageByRenderingViewScaleOpaque(*collage, 0, true);
    const std::pair<const char*, std::shared_ptr<UIImage>> cases[] = {
        {"one colour", blank},
        {"no render", nullptr},
    };
    for (const auto& [name, picture] : cases) {
        SCOPED_TRACE(name);
        EventLog::clear();
        EXPECT_TRUE(MixImageOutput::isBlankImage(picture));
        EXPECT_EQ(MixImageOutput::presentForImageFromViewController(picture, screen), nullptr);
        environment_.fastForwardBy(1);
        EXPECT_EQ(navigation->presentedViewController(), nullptr) << "no sheet to save from";
        EXPECT_EQ(shownTips(), std::vector<std::string>{"There is no picture yet"});
        EXPECT_FALSE(flag());
    }
    for (const char* file : {"Pasteboard.png", "Album", "Library/MixdImage.png"}) {
        EXPECT_FALSE(fs::exists(homeFile(file))) << file;
    }
    // One pixel off the background is a picture.
    auto card = UIView::initWithFrame(CGRectMake(119.5, 89.5, 0.5, 0.5));
    card->setBackgroundColor(UIColor::redColor());
    collage->addSubview(card);
    EXPECT_FALSE(MixImageOutput::isBlankImage(
        MixImageOutput::imageByRenderingViewScaleOpaque(*collage, 0, true)));
}

TEST(MixImageOutputWriteTest, NothingToWriteGivesNoFile) {
    TestHome home;
    EXPECT_EQ(MixImageOutput::writeImageIntoBox(nullptr), nullptr);
    EXPECT_FALSE(fs::exists(stringByAppendingPathComponent(home.path(), "Library/MixdImage.png")));
    EXPECT_EQ(MixImageOutput::presentForImageFromViewController(nullptr, nullptr), nullptr);
}
} // namespace
