#include "editor/tools/clipping/PEClippingTool.h"

#include "editor/PEImageToolInfo.h"
#include "editor/tools/clipping/PEClippingCircle.h"
#include "editor/tools/clipping/PEClippingPanel.h"
#include "editor/tools/clipping/PERatio.h"
#include "editor/tools/clipping/PERatioMenuItem.h"
#include "harness/TouchInjector.h"
#include "platform/foundation/NSError.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/RectExpectations.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/DistinctPicture.h"
#include "tests/support/editor/FakeImageToolHost.h"
#include "tests/support/editor/ToolAnswer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// The crop tool opened by a stand-in for the editor screen shown in a window (a 320 x 424
// picture area 64 points down, the menu's 80 points at the bottom).
class PEClippingToolTest : public ::testing::Test {
protected:
    void open(std::shared_ptr<UIImage> image,
              std::optional<PlistValue::Dictionary> options = std::nullopt,
              bool replaceOptions = false) {
        picture = std::move(image);
        host = FakeImageToolHost::withImage(picture);
        window->addSubview(host->view());
        window->makeKeyAndVisible();
        auto entry = PEImageToolInfo::toolInfoForToolClass("PEClippingTool");
        ASSERT_TRUE(entry);
        if (replaceOptions) {
            entry->optionalInfo() = options;
        }
        tool = std::dynamic_pointer_cast<PEClippingTool>(host->openTool(entry));
        ASSERT_TRUE(tool);
        environment.runUntilIdle();
    }
    std::vector<std::shared_ptr<PERatioMenuItem>> items() const {
        return subviewsOfKind<PERatioMenuItem>(*tool->menuScroll());
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> found;
        for (const auto& item : items()) {
            found.push_back(item->title());
        }
        return found;
    }
    void tapItem(size_t index) {
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*items().at(index)));
        environment.runUntilIdle();
    }
    // Answered before OK returns.
    ToolAnswer ok() {
        ToolAnswer answer = pressOK(*tool);
        EXPECT_EQ(answer.calls, 1);
        EXPECT_FALSE(answer.userInfo);
        return answer;
    }
    // The picture's pixels of that part, row by row.
    std::vector<uint32_t> part(size_t x, size_t y, size_t width, size_t height) const {
        std::vector<uint32_t> pixels;
        for (size_t row = y; row < y + height; ++row) {
            for (size_t column = x; column < x + width; ++column) {
                pixels.push_back(distinctColourAt(column, row));
            }
        }
        return pixels;
    }

    TaskEnvironment environment;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    std::shared_ptr<UIImage> picture;
    std::shared_ptr<FakeImageToolHost> host;
    std::shared_ptr<PEClippingTool> tool;
};

TEST_F(PEClippingToolTest, TheBuiltInStripIsOrientedByThePictureAndStartsFreeOnTheWholePicture) {
    open(distinctPicture(64, 48));
    EXPECT_EQ(host->fixZoomCalls, 1);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Custom", "1 : 1", "4 : 3", "3 : 2", "16 : 9"}));
    const auto strip = items();
    for (size_t i = 0; i < strip.size(); ++i) {
        EXPECT_EQ(strip[i]->frame(), CGRectMake(70.0 * double(i), 0, 70, 80));
    }
    // The strip leaves the swap button its 70 points; it scrolls over five items.
    EXPECT_EQ(tool->menuContainer()->frame(), host->menuView()->frame());
    EXPECT_EQ(tool->menuScroll()->frame(), CGRectMake(0, 0, 250, 80));
    EXPECT_EQ(tool->menuScroll()->contentSize(), CGSizeMake(350, 0));
    ASSERT_TRUE(tool->swapButton());
    EXPECT_EQ(tool->swapButton()->frame(), CGRectMake(15, 10, 40, 40));
    // Each icon is the picture cut to its ratio, 50 points on its longer side, centred
    // where the icon stood.
    // Free: the icon picture's own shape (93 x 70, the picture with its shorter side 70).
    expectRectNear(strip[0]->iconView()->frame(),
                   CGRectMake(10, 30 - 25.0 * 70 / 93, 50, 50.0 * 70 / 93));
    expectRectNear(strip[1]->iconView()->frame(), CGRectMake(10, 5, 50, 50));
    expectRectNear(strip[4]->iconView()->frame(), CGRectMake(10, 15.9375, 50, 28.125));
    EXPECT_EQ(strip[2]->iconImage()->size(), CGSizeMake(93, 70));

    EXPECT_EQ(tool->selectedMenu(), strip[0]);
    EXPECT_TRUE(strip[0]->selected());
    auto grid = tool->gridView();
    EXPECT_EQ(grid->superview(), host->scrollView());
    EXPECT_EQ(grid->frame(), host->imageView()->frame());
    EXPECT_FALSE(grid->clippingRatio());
    EXPECT_EQ(grid->clippingRect(), CGRectMake(0, 0, 320, 424));

    // A tall picture turns the same ratios upright.
    open(distinctPicture(48, 64));
    EXPECT_EQ(titles(), (std::vector<std::string>{"Custom", "1 : 1", "3 : 4", "2 : 3", "9 : 16"}));
}

TEST_F(PEClippingToolTest, SelectingRatiosAndSwappingThemRefitsTheGrid) {
    open(distinctPicture(64, 48));
    auto grid = tool->gridView();
    tapItem(2); // 4 : 3
    EXPECT_EQ(tool->selectedMenu(), items()[2]);
    EXPECT_FALSE(items()[0]->selected());
    EXPECT_EQ(grid->clippingRatio(), items()[2]->ratio());
    expectRectNear(grid->clippingRect(), CGRectMake(0, 92, 320, 240));
    // The swap turns every title and the selected rectangle.
    tool->swapButton()->sendActionsForControlEvents(UIControlEventTouchUpInside);
    environment.runUntilIdle();
    EXPECT_EQ(titles(), (std::vector<std::string>{"Custom", "1 : 1", "3 : 4", "2 : 3", "9 : 16"}));
    expectRectNear(grid->clippingRect(), CGRectMake(1, 0, 318, 424));
    // Square and free crops keep their rectangle through a swap.
    tapItem(1);
    const CGRect square = grid->clippingRect();
    grid->setClippingRect(CGRectMake(10, 10, 100, 100));
    tool->pushedRotateBtn();
    EXPECT_EQ(grid->clippingRect(), CGRectMake(10, 10, 100, 100));
    expectRectNear(square, CGRectMake(0, 52, 320, 320));
    // "Custom" gives the whole picture back.
    tapItem(0);
    EXPECT_FALSE(grid->clippingRatio());
    EXPECT_EQ(grid->clippingRect(), CGRectMake(0, 0, 320, 424));
}

TEST_F(PEClippingToolTest, HostRatioListsAreReadAsGiven) {
    using Dict = PlistValue::Dictionary;
    const auto record = [](PlistValue v1, PlistValue v2,
                           std::optional<std::string> format = std::nullopt) {
        Dict d{{"value1", v1}, {"value2", v2}};
        if (format) {
            d["titleFormat"] = *format;
        }
        return PlistValue(d);
    };
    // Without the swap button each ratio keeps its own order; negative values count by
    // their size; a zero gives a free crop under its numbers; a record that is no
    // dictionary is left out.
    open(distinctPicture(64, 48),
         Dict{{"swapButtonHidden", true},
              {"ratios", PlistValue::Array{record(3, 4), record(4, 3, "%g by %g"), record(-16, 9),
                                           PlistValue("5:4"), record(5, 0)}}},
         true);
    EXPECT_FALSE(tool->swapButton());
    EXPECT_EQ(tool->menuScroll()->frame(), CGRectMake(0, 0, 320, 80));
    EXPECT_EQ(titles(), (std::vector<std::string>{"3 : 4", "4 by 3", "9 : 16", "5 : 0"}));
    EXPECT_EQ(items()[0]->ratio()->ratio(), 4.0 / 3.0);
    // The first is selected and holds the grid to its shape.
    expectRectNear(tool->gridView()->clippingRect(), CGRectMake(1, 0, 318, 424));
    tapItem(3);
    EXPECT_FALSE(tool->gridView()->clippingRatio());

    // One ratio that cannot be turned: no menu, but it applies.
    open(distinctPicture(64, 48),
         Dict{{"swapButtonHidden", true}, {"ratios", PlistValue::Array{record(1, 1)}}}, true);
    EXPECT_TRUE(items().empty());
    ASSERT_TRUE(tool->selectedMenu());
    EXPECT_EQ(tool->gridView()->clippingRatio(), tool->selectedMenu()->ratio());
    EXPECT_EQ(tool->menuScroll()->contentSize(), CGSizeMake(321, 0));

    // No ratios at all: nothing selected, a free crop.
    open(distinctPicture(64, 48), Dict{{"swapButtonHidden", false}}, true);
    EXPECT_TRUE(items().empty());
    EXPECT_FALSE(tool->selectedMenu());
    EXPECT_EQ(tool->gridView()->clippingRect(), CGRectMake(0, 0, 320, 424));

    // No settings at all: the tool's own.
    open(distinctPicture(64, 48), std::nullopt, true);
    EXPECT_EQ(titles().size(), 5u);
}

TEST_F(PEClippingToolTest, CropsWholePixelsOfThePictureByTheImageViewsWidth) {
    // A 64 x 48 picture in a 320-point-wide view: five points a pixel.
    open(distinctPicture(64, 48));
    auto grid = tool->gridView();
    grid->setClippingRect(CGRectMake(50, 25, 100, 75));
    ToolAnswer answer = ok();
    ASSERT_TRUE(answer.image);
    EXPECT_FALSE(answer.error);
    EXPECT_EQ(pixelsOf(*answer.image->cgImage()), part(10, 5, 20, 15));
    // Part pixels round to whole ones, never to half-transparent edges.
    grid->setClippingRect(CGRectMake(52, 23, 99, 76));
    answer = ok();
    ASSERT_TRUE(answer.image);
    EXPECT_EQ(pixelsOf(*answer.image->cgImage()), part(10, 5, 20, 15));
    // The whole picture area is taller than the picture: the crop stops at its bottom
    // instead of adding a transparent margin.
    grid->setClippingRect(CGRectMake(0, 0, 320, 424));
    answer = ok();
    ASSERT_TRUE(answer.image);
    EXPECT_EQ(answer.image->size(), CGSizeMake(64, 48));
    EXPECT_EQ(pixelsOf(*answer.image->cgImage()), part(0, 0, 64, 48));
    // Nothing of the picture: an error, and no picture.
    grid->setClippingRect(CGRectMake(0, 300, 320, 124));
    answer = ok();
    EXPECT_FALSE(answer.image);
    ASSERT_TRUE(answer.error);
    EXPECT_EQ(answer.error->domain(), "PEClippingTool");
}

TEST_F(PEClippingToolTest, ACornerDraggedAtFourToThreeCropsFourToThree) {
    open(distinctPicture(64, 48));
    tapItem(2);
    environment.runUntilIdle();
    // The bottom-right handle, at the picture area's (320, 332), dragged up and left.
    const CGPoint corner = tool->gridView()->circles()[3]->center();
    ASSERT_EQ(corner, CGPointMake(320, 332));
    TouchInjector::drag(CGPointMake(corner.x - 5, corner.y + 64), CGPointMake(200, 250 + 64), 0.3);
    const CGRect rect = tool->gridView()->clippingRect();
    EXPECT_LT(rect.size.width, 320);
    EXPECT_NEAR(rect.size.height / rect.size.width, 0.75, 1e-9);
    const ToolAnswer answer = ok();
    ASSERT_TRUE(answer.image);
    const CGSize size = answer.image->size();
    EXPECT_NEAR(size.height / size.width, 0.75, 0.05);
    EXPECT_EQ(pixelsOf(*answer.image->cgImage())[0],
              distinctColourAt(0, static_cast<size_t>(std::lround(92.0 / 5))));
}

TEST_F(PEClippingToolTest, CleanupTakesTheGridAndTheStripAway) {
    open(distinctPicture(64, 48));
    auto grid = tool->gridView();
    tool->cleanup();
    EXPECT_EQ(host->resetZoomCalls, 1);
    EXPECT_FALSE(grid->superview());
    for (const auto& circle : grid->circles()) {
        EXPECT_FALSE(circle->superview());
    }
    environment.fastForwardBy(0.3);
    EXPECT_FALSE(tool->menuContainer()->superview());
}

} // namespace
