#include "editor/tools/resize/PEResizeTool.h"

#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "editor/tools/resize/_PEResizePanel.h"
#include "harness/TouchInjector.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSError.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIKeyboard.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/DistinctPicture.h"
#include "tests/support/editor/FakeImageToolHost.h"
#include "tests/support/editor/ToolAnswer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

using Sides = std::pair<std::string, std::string>;

std::shared_ptr<_PEResizePanel> panelFor(CGSize picture, double limit = 3200) {
    auto panel = _PEResizePanel::initWithFrameOriginalSizeTool(CGRectMake(0, 64, 320, 424), picture,
                                                               nullptr);
    panel->setLimitSize(limit);
    return panel;
}

Sides sides(const _PEResizePanel& panel) {
    return {panel.fieldW()->text(), panel.fieldH()->text()};
}

TEST(PEResizePanelTest, StartsAtThePictureSizeWithItsLargerSideHeldToTheLimit) {
    const struct {
        CGSize picture;
        Sides expected;
    } cases[] = {
        {CGSizeMake(4000, 3000), {"3200", "2400"}},
        {CGSizeMake(3000, 4000), {"2400", "3200"}},
        {CGSizeMake(640, 480), {"640", "480"}},
        {CGSizeMake(4000, 1), {"3200", "1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.first + " x " + c.expected.second);
        auto panel = panelFor(c.picture);
        EXPECT_EQ(sides(*panel), c.expected);
        EXPECT_TRUE(panel->chainBtn()->isSelected());
        EXPECT_EQ(panel->imageSize(),
                  CGSizeMake(std::stod(c.expected.first), std::stod(c.expected.second)));
    }
}

// A limit under one pixel would have each side push the other past it for ever.
TEST(PEResizePanelTest, ALimitUnderOnePixelOrNoNumberIsHeldAtOne) {
    for (double limit : {0.5, 0.0, -3.0, std::nan("")}) {
        SCOPED_TRACE(limit);
        auto panel = panelFor(CGSizeMake(4000, 3000), limit);
        EXPECT_EQ(panel->limitSize(), 1);
        EXPECT_EQ(sides(*panel), (Sides{"1", "1"}));
    }
}

TEST(PEResizePanelTest, TheChainKeepsTheProportionWithinTheLimit) {
    const struct {
        const char* what;
        CGSize picture;
        bool chained;
        bool width;
        double value;
        Sides expected;
    } cases[] = {
        {"width, chained", CGSizeMake(4000, 3000), true, true, 1000, {"1000", "750"}},
        {"height, chained", CGSizeMake(4000, 3000), true, false, 600, {"800", "600"}},
        {"the height would pass the limit",
         CGSizeMake(3000, 4000),
         true,
         true,
         3000,
         {"2400", "3200"}},
        {"never below one", CGSizeMake(4000, 1), true, true, 100, {"100", "1"}},
        {"over the limit, unchained", CGSizeMake(4000, 3000), false, true, 5000, {"3200", "2400"}},
        {"unchained", CGSizeMake(4000, 3000), false, false, 100, {"3200", "100"}},
        {"nothing, chained", CGSizeMake(4000, 3000), true, true, 0, {"3200", ""}},
        {"nothing, unchained", CGSizeMake(4000, 3000), false, true, 0, {"3200", "2400"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto panel = panelFor(c.picture);
        panel->chainBtn()->setSelected(c.chained);
        c.width ? panel->setImageWidth(c.value) : panel->setImageHeight(c.value);
        EXPECT_EQ(sides(*panel), c.expected);
    }
}

TEST(PEResizePanelTest, TurningTheChainOnDerivesTheSmallerSideFromTheLarger) {
    auto panel = panelFor(CGSizeMake(4000, 3000));
    panel->chainBtnDidPush();
    EXPECT_FALSE(panel->chainBtn()->isSelected());
    panel->setImageWidth(1000);
    EXPECT_EQ(sides(*panel), (Sides{"1000", "2400"}));
    panel->chainBtnDidPush();
    EXPECT_EQ(sides(*panel), (Sides{"3200", "2400"}));
}

TEST(PEResizePanelTest, FieldsTakeUpToFourDigitsWithoutALeadingZero) {
    auto panel = panelFor(CGSizeMake(4000, 3000));
    auto other = UITextField::initWithFrame(CGRectMake(0, 0, 10, 10));
    const struct {
        const char* what;
        std::shared_ptr<UITextField> field;
        std::string text;
        std::string replacement;
        bool allowed;
    } cases[] = {
        {"a digit", panel->fieldW(), "320", "1", true},
        {"a fifth digit", panel->fieldW(), "3200", "1", false},
        {"a paste that would make five", panel->fieldH(), "12", "345", false},
        {"a paste that makes four", panel->fieldH(), "12", "34", true},
        {"a deletion of a full field", panel->fieldW(), "3200", "", true},
        {"a leading zero", panel->fieldH(), "", "0", false},
        {"a pasted leading zero", panel->fieldW(), "", "05", false},
        {"a zero after a digit", panel->fieldH(), "12", "0", true},
        {"a letter", panel->fieldW(), "12", "a", false},
        {"a digit of another script", panel->fieldW(), "12", "\xd9\xa3", false},
        {"another field", other, "12345", "abc", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.field->setText(c.text);
        EXPECT_EQ(panel->textFieldShouldChangeCharactersInRangeReplacementString(
                      *c.field, NSMakeRange(c.text.size(), 0), c.replacement),
                  c.allowed);
    }
    // The leading zero is judged on the field being edited: an empty width field does not
    // keep the height field from taking a zero after its digits, and a filled one does not
    // let an empty height field start with one.
    panel->fieldW()->setText("");
    panel->fieldH()->setText("7");
    EXPECT_TRUE(panel->textFieldShouldChangeCharactersInRangeReplacementString(
        *panel->fieldH(), NSMakeRange(1, 0), "0"));
    panel->fieldW()->setText("12");
    panel->fieldH()->setText("");
    EXPECT_FALSE(panel->textFieldShouldChangeCharactersInRangeReplacementString(
        *panel->fieldH(), NSMakeRange(0, 0), "0"));
}

// The panel in a window on the main screen, typed into through the keyboard.
class PEResizePanelKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(panel);
        window->makeKeyAndVisible();
    }
    TaskEnvironment environment;
    CGRect screen = UIScreen::mainScreen()->bounds();
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(screen);
    std::shared_ptr<_PEResizePanel> panel = panelFor(CGSizeMake(4000, 3000));
};

TEST_F(PEResizePanelKeyboardTest, TypedDigitsMoveTheOtherSideAndTheBoxStaysAboveTheKeyboard) {
    const double centre = panel->infoPanel()->center().y;
    TouchInjector::tapAt(panel->fieldW()->convertPointToView(CGPointMake(50, 20), nullptr));
    ASSERT_TRUE(panel->fieldW()->isFirstResponder());
    // The box is centred in what the keyboard leaves of the panel.
    const double keyboardTop = screen.size.height - UIKeyboard::kPortraitHeight;
    EXPECT_DOUBLE_EQ(panel->infoPanel()->center().y, std::min(424.0, keyboardTop - 64) / 2);

    for (int i = 0; i < 4; ++i) {
        ASSERT_FALSE(UIKeyboard::shared().deleteBackward().hasError());
    }
    EXPECT_EQ(sides(*panel), (Sides{"", ""}));
    ASSERT_FALSE(UIKeyboard::shared().typeText("0").hasError()); // refused: a leading zero
    ASSERT_FALSE(UIKeyboard::shared().typeText("800").hasError());
    EXPECT_EQ(sides(*panel), (Sides{"800", "600"}));
    // 8009 is held to the limit, and a fifth digit is refused.
    ASSERT_FALSE(UIKeyboard::shared().typeText("99").hasError());
    EXPECT_EQ(sides(*panel), (Sides{"3200", "2400"}));

    // A tap on the panel puts the keyboard away and the box back in the middle.
    TouchInjector::tapAt(CGPointMake(10, 80));
    EXPECT_FALSE(UIKeyboard::shared().isVisible());
    EXPECT_DOUBLE_EQ(panel->infoPanel()->center().y, centre);
}

// The resize tool opened by a stand-in for the editor screen shown in a window.
class PEResizeToolTest : public ::testing::Test {
protected:
    void open(CGSize size, std::optional<PlistValue::Dictionary> options = std::nullopt) {
        picture =
            distinctPicture(static_cast<size_t>(size.width), static_cast<size_t>(size.height));
        host = FakeImageToolHost::withImage(picture);
        window->addSubview(host->view());
        window->makeKeyAndVisible();
        auto entry = PEImageToolInfo::toolInfoForToolClass("PEResizeTool");
        ASSERT_TRUE(entry);
        if (options) {
            for (const auto& [key, value] : *options) {
                (*entry->optionalInfo())[key] = value;
            }
        }
        tool = std::dynamic_pointer_cast<PEResizeTool>(host->openTool(entry));
        ASSERT_TRUE(tool);
        environment.runUntilIdle();
    }
    std::vector<std::shared_ptr<PEToolbarMenuItem>> presets() const {
        return subviewsOfKind<PEToolbarMenuItem>(*tool->menuScroll());
    }
    static PlistValue presetSize(const UIView& item) {
        auto info = std::dynamic_pointer_cast<NSDictionary>(PEViewToolInfo::userInfo(item));
        return info ? info->objectForKey("size") : PlistValue();
    }
    ToolAnswer ok() {
        return pressOK(*tool, [this] { environment.runUntilIdle(); });
    }

    TaskEnvironment environment;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    std::shared_ptr<UIImage> picture;
    std::shared_ptr<FakeImageToolHost> host;
    std::shared_ptr<PEResizeTool> tool;
};

TEST_F(PEResizeToolTest, LaysThePanelOverThePictureAndTheEightPresetsBesideTheSwitch) {
    open(CGSizeMake(64, 48));
    EXPECT_EQ(host->fixZoomCalls, 1);
    auto panel = tool->resizePanel();
    EXPECT_EQ(panel->superview(), host->view());
    EXPECT_EQ(panel->frame(), host->scrollView()->frame());
    EXPECT_EQ(sides(*panel), (Sides{"64", "48"}));
    EXPECT_EQ(tool->menuScroll()->frame(), CGRectMake(0, 0, 250, 80));
    EXPECT_EQ(tool->switchBtn()->tag(), 0);
    std::vector<double> sizes;
    for (const auto& item : presets()) {
        sizes.push_back(presetSize(*item).doubleValue());
        EXPECT_EQ(item->iconImage()->size(), CGSizeMake(100, 100));
    }
    EXPECT_EQ(sizes, (std::vector<double>{240, 320, 480, 640, 800, 960, 1024, 2048}));
    EXPECT_EQ(tool->menuScroll()->contentSize(), CGSizeMake(560, 0));

    // Presets that are no list, or an empty one, give way to the built-in eight.
    for (const PlistValue& given : {PlistValue("100"), PlistValue(PlistValue::Array{})}) {
        open(CGSizeMake(64, 48), PlistValue::Dictionary{{"presetSizes", given}});
        EXPECT_EQ(presets().size(), 8u);
    }
    open(CGSizeMake(64, 48), PlistValue::Dictionary{{"presetSizes", PlistValue::Array{16, 32}}});
    EXPECT_EQ(presets().size(), 2u);
}

TEST_F(PEResizeToolTest, PresetsSetTheWidthOrAfterTheSwitchTheHeight) {
    open(CGSizeMake(64, 48));
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*presets()[3])); // 640
    EXPECT_EQ(sides(*tool->resizePanel()), (Sides{"640", "480"}));
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*tool->switchBtn()));
    EXPECT_EQ(tool->switchBtn()->tag(), 1);
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*presets()[0])); // 240
    EXPECT_EQ(sides(*tool->resizePanel()), (Sides{"320", "240"}));
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*tool->switchBtn()));
    EXPECT_EQ(tool->switchBtn()->tag(), 0);
}

TEST_F(PEResizeToolTest, OkScalesThePictureToTheFieldsAndAnEmptyFieldSaysSo) {
    open(CGSizeMake(64, 48));
    tool->resizePanel()->setImageWidth(32);
    ToolAnswer answer = ok();
    EXPECT_EQ(answer.calls, 1);
    ASSERT_TRUE(answer.image);
    EXPECT_FALSE(answer.error);
    EXPECT_EQ(answer.image->size(), CGSizeMake(32, 24));

    // An emptied field: an error to show, no picture.
    tool->resizePanel()->setImageWidth(0);
    answer = ok();
    EXPECT_EQ(answer.calls, 1);
    EXPECT_FALSE(answer.image);
    ASSERT_TRUE(answer.error);
    EXPECT_EQ(answer.error->domain(), "PEResizeTool");

    // A picture that arrives after the tool ended is dropped.
    tool->resizePanel()->setImageWidth(16);
    const ToolAnswer late = pressOK(*tool, [this] {
        tool->cleanup();
        environment.runUntilIdle();
    });
    EXPECT_EQ(late.calls, 0);
    EXPECT_FALSE(tool->resizePanel()->superview());
    EXPECT_EQ(host->resetZoomCalls, 1);
}

} // namespace
