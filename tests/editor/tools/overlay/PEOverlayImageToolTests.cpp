#include "editor/tools/overlay/PEEmoticonTool.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "editor/tools/overlay/PEStickerTool.h"
#include "editor/tools/overlay/_PEEmoticonView.h"
#include "editor/widgets/PECircleView.h"
#include "harness/TouchInjector.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/editor/FakeImageToolHost.h"
#include "tests/support/editor/ToolExecution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;
constexpr uint32_t kPhoto = 0xff2060e0;

std::shared_ptr<UIImage> solid(size_t width, size_t height, uint32_t colour) {
    return UIImage::imageWithCGImage(makeImage(width, height,
                                               CGImagePixelFormat::ARGB32Premultiplied,
                                               [colour](size_t, size_t) { return colour; }));
}

void writePicture(const std::string& path, const std::shared_ptr<UIImage>& image) {
    const auto png = UIImagePNGRepresentation(image);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png->data()),
               static_cast<std::streamsize>(png->size()));
}

uint32_t at(const std::shared_ptr<UIImage>& image, double x, double y) {
    return image->cgImage()->pixelAt(size_t(x), size_t(y));
}

// The emoticon tool opened by a stand-in for the editor screen shown in a window, on a
// folder of the test's own: a 160 x 212 photo shown at twice its size in the 320 x 424
// picture view, so that the working view's points are twice the photo's.
class PEOverlayToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR);
        writePicture(folder.file("wide.png"), solid(100, 40, 0xffff0000));
        writePicture(folder.file("small.png"), solid(60, 40, 0xff00ff00));
        folder.write("notes.txt", "not a picture");
        folder.write("fake.png", "not a picture either");
        folder.write("sub/inner.png", "");
        window->addSubview(host->view());
        window->makeKeyAndVisible();
    }
    void open(const std::string& path) {
        auto entry = PEImageToolInfo::toolInfoForToolClass("PEEmoticonTool");
        ASSERT_TRUE(entry);
        (*entry->optionalInfo())["EmoticonPath"] = path;
        tool = std::dynamic_pointer_cast<PEEmoticonTool>(host->openTool(entry));
        ASSERT_TRUE(tool);
        environment.runUntilIdle(); // the strip slides in
    }
    std::shared_ptr<PEToolbarMenuItem> item(size_t index) const {
        return std::dynamic_pointer_cast<PEToolbarMenuItem>(
            tool->menuScroll()->subviews().at(index));
    }
    // Taps the strip's item: its overlay, now the newest subview of the working view.
    std::shared_ptr<PEOverlayImageView> add(size_t index) {
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*item(index)));
        return std::dynamic_pointer_cast<PEOverlayImageView>(
            tool->workingView()->subviews().back());
    }
    // A point of the working view (which lies over the picture, 64 points down) in the
    // window.
    CGPoint inWindow(CGPoint p) const {
        return tool->workingView()->convertPointToView(p, window.get());
    }
    CGPoint handleOf(const PEOverlayImageView& overlay) const {
        return overlay.convertPointToView(overlay.circleView()->center(),
                                          tool->workingView().get());
    }
    std::shared_ptr<UIImage> execute() { return executeAndWait(*tool, environment); }

    TaskEnvironment environment;
    TempFolder folder;
    std::shared_ptr<UIImage> photo = solid(160, 212, kPhoto);
    std::shared_ptr<FakeImageToolHost> host = FakeImageToolHost::withImage(photo);
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    std::shared_ptr<PEEmoticonTool> tool;
};

TEST_F(PEOverlayToolTest, TheStripListsOnlyTheFolderEntriesThatArePictures) {
    open(folder.path());
    EXPECT_EQ(tool->workingView()->frame(), CGRectMake(0, 64, 320, 424));
    EXPECT_TRUE(tool->workingView()->clipsToBounds());
    EXPECT_EQ(host->fixZoomCalls, 1);
    // In the listing's order; the text, the false picture and the folder are left out.
    ASSERT_EQ(tool->menuScroll()->subviews().size(), 2u);
    const char* names[] = {"small.png", "wide.png"};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(item(i)->frame(), CGRectMake(70.0 * i, 0, 70, 80));
        auto info = std::dynamic_pointer_cast<NSDictionary>(PEViewToolInfo::userInfo(*item(i)));
        ASSERT_TRUE(info);
        EXPECT_EQ(info->objectForKey("filePath"), PlistValue(folder.file(names[i])));
        EXPECT_LE(item(i)->iconImage()->size().width, 50);
        EXPECT_LE(item(i)->iconImage()->size().height, 50);
    }
    EXPECT_EQ(item(1)->iconImage()->size(), CGSizeMake(50, 20));
    EXPECT_EQ(tool->menuScroll()->contentSize().width, 321);

    // An empty or missing folder: no items, a strip a point wider than the screen.
    TempFolder empty;
    for (const std::string& path : {folder.file("sub/none"), empty.path()}) {
        host->back(*tool);
        open(path);
        EXPECT_TRUE(tool->menuScroll()->subviews().empty()) << path;
        EXPECT_EQ(tool->menuScroll()->contentSize().width, 321) << path;
    }
}

TEST_F(PEOverlayToolTest, AnAddedPictureSitsInTheMiddleAtMostHalfTheViewAndIsActive) {
    open(folder.path());
    auto small = add(0);
    ASSERT_TRUE(small);
    // 60 x 40 plus the margin is 92 x 72: the scale is min(160 / 92, 212 / 72).
    const double s = 160.0 / 92;
    EXPECT_DOUBLE_EQ(small->scale(), s);
    EXPECT_NEAR(small->frame().size.width, 60 * s + 32, 1e-9);
    EXPECT_NEAR(small->frame().size.height, 40 * s + 32, 1e-9);
    EXPECT_EQ(small->center(), CGPointMake(160, 212));
    EXPECT_EQ(_PEEmoticonView::state().active, small);
    EXPECT_FALSE(small->deleteButton()->isHidden());
    EXPECT_FALSE(small->circleView()->isHidden());
    EXPECT_DOUBLE_EQ(small->imageView()->layer()->borderWidth(), 1 / s);
    EXPECT_DOUBLE_EQ(small->imageView()->layer()->cornerRadius(), 3 / s);

    // A second is active and in front; a tap on the first brings it back.
    auto wide = add(1);
    EXPECT_EQ(_PEEmoticonView::state().active, wide);
    EXPECT_TRUE(small->deleteButton()->isHidden());
    EXPECT_EQ(small->imageView()->layer()->borderWidth(), 0);
    // The wide one's margin passes touches through: beside both pictures to nothing, over
    // the small one's picture (which reaches further down) to it.
    const double wideHalfWidth = 50 * wide->scale();
    TouchInjector::tapAt(inWindow(CGPointMake(160 + wideHalfWidth + 8, 212)));
    EXPECT_EQ(_PEEmoticonView::state().active, wide);
    ASSERT_LT(20 * wide->scale() + 4, 20 * s);
    TouchInjector::tapAt(inWindow(CGPointMake(160, 212 + 20 * wide->scale() + 4)));
    EXPECT_EQ(_PEEmoticonView::state().active, small);
    EXPECT_EQ(tool->workingView()->subviews().back(), small);
}

TEST_F(PEOverlayToolTest, TheHandleTurnsAndScalesAboutTheCentreNeverBelowAFifth) {
    open(folder.path());
    auto overlay = add(0);
    const double s = overlay->scale();
    const CGPoint c = overlay->center();
    const CGPoint h = handleOf(*overlay);
    const double dx = h.x - c.x, dy = h.y - c.y;
    // A quarter turn clockwise at twice the distance.
    TouchInjector::drag(inWindow(h), inWindow(CGPointMake(c.x - 2 * dy, c.y + 2 * dx)), 0.3);
    EXPECT_NEAR(overlay->scale(), 2 * s, 1e-6);
    EXPECT_NEAR(overlay->arg(), kPi / 2, 1e-6);
    EXPECT_NEAR(overlay->center().x, c.x, 1e-9);
    EXPECT_NEAR(overlay->center().y, c.y, 1e-9);
    // Back to the centre: a fifth, not less.
    const CGPoint turned = handleOf(*overlay);
    TouchInjector::drag(inWindow(turned), inWindow(CGPointMake(c.x + 1, c.y + 1)), 0.3);
    EXPECT_DOUBLE_EQ(overlay->scale(), PEOverlayImageView::kMinimumScale);
    EXPECT_EQ(_PEEmoticonView::state().active, overlay);
}

TEST_F(PEOverlayToolTest, DeletingTheActiveOnePassesActivityToItsNeighbour) {
    open(folder.path());
    auto first = add(0);
    auto second = add(1);
    auto third = add(0);
    auto tapDelete = [&](const PEOverlayImageView& overlay) {
        const CGPoint corner =
            overlay.convertPointToView(overlay.deleteButton()->center(), window.get());
        TouchInjector::tapAt(corner);
    };
    // The active one is always in front: the nearest one behind it takes over.
    tapDelete(*third);
    EXPECT_FALSE(third->superview());
    EXPECT_EQ(_PEEmoticonView::state().active, second);
    // Made active by a tap, the first comes to the front; deleted, the one behind it.
    first->activate();
    tapDelete(*first);
    EXPECT_EQ(_PEEmoticonView::state().active, second);
    tapDelete(*second);
    EXPECT_TRUE(tool->workingView()->subviews().empty());
    EXPECT_FALSE(_PEEmoticonView::state().active);
}

TEST_F(PEOverlayToolTest, OkBakesTheOverlaysAtTheirPlaceSizeAndAngleWithoutControls) {
    open(folder.path());
    auto overlay = add(0); // 60 x 40 green
    const double s = overlay->scale();
    // Moved 100 left and up by a finger on the picture, then turned a quarter and doubled.
    TouchInjector::drag(inWindow(CGPointMake(160, 212)), inWindow(CGPointMake(60, 112)), 0.3);
    ASSERT_EQ(overlay->center(), CGPointMake(60, 112));
    const CGPoint h = handleOf(*overlay);
    const double dx = h.x - 60, dy = h.y - 112;
    TouchInjector::drag(inWindow(h), inWindow(CGPointMake(60 - 2 * dy, 112 + 2 * dx)), 0.3);
    ASSERT_NEAR(overlay->scale(), 2 * s, 1e-6);

    // Where the delete button stands, outside the picture's corner.
    const CGPoint button =
        overlay->convertPointToView(overlay->deleteButton()->center(), tool->workingView().get());
    const double ox = button.x - 60, oy = button.y - 112, out = 6 / std::hypot(ox, oy);
    const CGPoint beside = CGPointMake((button.x + ox * out) / 2, (button.y + oy * out) / 2);
    // The overlay is read when OK is pushed: a finger moving it on before the background
    // work runs changes nothing in the answer.
    auto result = executeAndWait(*tool, environment, [&] {
        EXPECT_EQ(_PEEmoticonView::state().active, nullptr);
        overlay->setCenter(CGPointMake(250, 380));
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->size(), photo->size());
    // Upright now: 40 x 2s = 139 points wide, 60 x 2s = 209 high about (60, 112), in photo
    // points half of that about (30, 56). What was its long side now runs down.
    const double halfWide = 20 * s, halfHigh = 30 * s; // in photo points
    // Its left part lies beyond the photo's edge, cut off.
    ASSERT_LT(30 - halfWide, 0);
    for (auto [x, y] : {std::pair{30.0, 56.0}, {30.0, 56 + halfHigh - 4}, {1.0, 56.0}}) {
        EXPECT_EQ(at(result, x, y), 0xff00ff00u) << x << "," << y;
    }
    for (auto [x, y] :
         {std::pair{30 + halfWide + 4, 56.0}, {30.0, 56 + halfHigh + 4}, {125.0, 190.0}}) {
        EXPECT_EQ(at(result, x, y), kPhoto) << x << "," << y;
    }
    // No button where it stood: the photo.
    ASSERT_GT(beside.y, 0);
    EXPECT_EQ(at(result, beside.x, beside.y), kPhoto);
}

TEST_F(PEOverlayToolTest, OkWithoutOverlaysGivesThePhotoUnchanged) {
    open(folder.path());
    auto result = execute();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->scale(), photo->scale());
    EXPECT_EQ(pixelsOf(*result->cgImage()), pixelsOf(*photo->cgImage()));
}

TEST(PEOverlayToolBundleTest, EachToolHasSixPicturesOfItsOwnWithTransparency) {
    NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR);
    for (const char* toolName : {"PEEmoticonTool", "PEStickerTool"}) {
        auto entry = PEImageToolInfo::toolInfoForToolClass(toolName);
        ASSERT_TRUE(entry) << toolName;
        EXPECT_TRUE(entry->available()) << toolName;
        const auto& info = *entry->optionalInfo();
        const std::string key =
            std::string(toolName) == "PEEmoticonTool" ? "EmoticonPath" : "stickerPath";
        const std::string path = *info.at(key).string();
        EXPECT_EQ(path, PEImageEditorTheme::theme()->bundle()->bundlePath() + "/" + toolName + "/" +
                            (key == "EmoticonPath" ? "Emoticons" : "stickers"));
        const auto names =
            NSFileManager::defaultManager()->contentsOfDirectoryAtPathError(path, nullptr);
        ASSERT_TRUE(names) << path;
        size_t pictures = 0;
        for (const auto& name : *names) {
            auto image = UIImage::imageWithContentsOfFile(path + "/" + name);
            ASSERT_TRUE(image) << name;
            EXPECT_EQ(at(image, 0, 0) >> 24, 0u) << name << ": a corner shows the picture beneath";
            ++pictures;
        }
        EXPECT_GE(pictures, 6u) << toolName;
    }
}

} // namespace
