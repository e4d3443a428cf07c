// The text tool on a stand-in editor screen: overlays made, typed into, turned, scaled and
// deleted as a finger would, and baked into the picture; and its panel on its own.
#include "editor/tools/text/PETextTool.h"

#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/tools/text/PETextLabel.h"
#include "editor/tools/text/PETextSettingView.h"
#include "editor/tools/text/_PETextView.h"
#include "editor/widgets/PECircleView.h"
#include "editor/widgets/PEFontPickerView.h"
#include "harness/TouchInjector.h"
#include "platform/base/NSThread.h"
#include "platform/foundation/NSError.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIKeyboard.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UITextView.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/FakeImageToolHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Where the reddish pixels of a picture lie.
struct InkBox {
    double minX = 1e9, minY = 1e9, maxX = -1, maxY = -1;
    bool empty() const { return maxX < 0; }
    double width() const { return maxX - minX + 1; }
    double height() const { return maxY - minY + 1; }
};

InkBox redInk(const CGImage& image) {
    InkBox box;
    for (size_t y = 0; y < image.height(); ++y) {
        for (size_t x = 0; x < image.width(); ++x) {
            const uint32_t pixel = image.pixelAt(x, y);
            if ((pixel >> 16 & 0xff) > 200 && (pixel >> 8 & 0xff) < 90 && (pixel & 0xff) < 90) {
                box.minX = std::min(box.minX, double(x));
                box.maxX = std::max(box.maxX, double(x));
                box.minY = std::min(box.minY, double(y));
                box.maxY = std::max(box.maxY, double(y));
            }
        }
    }
    return box;
}

// The text tool opened on a white 640 x 848 picture, shown at half size (the stand-in
// screen's 320 x 424 picture area), in a window so that fingers can reach it.
class TextToolTest : public ::testing::Test {
protected:
    TextToolTest() {
        picture =
            UIImage::imageWithCGImage(makeImage(640, 848, CGImagePixelFormat::ARGB32Premultiplied,
                                                [](size_t, size_t) { return 0xffffffffu; }));
        host = FakeImageToolHost::withImage(picture);
        window->addSubview(host->view());
        window->makeKeyAndVisible();
        auto entry = PEImageToolInfo::toolInfoForToolClass("PETextTool");
        EXPECT_TRUE(entry);
        tool = std::dynamic_pointer_cast<PETextTool>(host->openTool(entry));
        EXPECT_TRUE(tool);
        environment.fastForwardBy(0.3);
    }

    // A new overlay, selected once the announcement arrived.
    std::shared_ptr<_PETextView> addText(const std::string& text) {
        tool->addNewText();
        environment.runUntilIdle();
        const auto overlay = tool->selectedTextView();
        EXPECT_TRUE(overlay);
        EXPECT_TRUE(UIKeyboard::shared().typeText(text).hasError() == false);
        return overlay;
    }
    CGPoint inWindow(const UIView& view, const CGPoint& point) const {
        return view.convertPointToView(point, nullptr);
    }
    CGPoint handleInWindow(const _PETextView& overlay) const {
        const auto& handle = *overlay.circleView();
        return inWindow(handle, CGPointMake(16, 16));
    }
    std::shared_ptr<UIImage> ok() {
        std::shared_ptr<UIImage> result;
        tool->executeWithCompletionBlock([&](std::shared_ptr<UIImage> image,
                                             std::shared_ptr<NSError> error,
                                             std::shared_ptr<NSObject>) {
            EXPECT_TRUE(NSThread::isMainThread());
            EXPECT_FALSE(error);
            result = std::move(image);
        });
        environment.runUntilIdle();
        return result;
    }

    TaskEnvironment environment;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    std::shared_ptr<UIImage> picture;
    std::shared_ptr<FakeImageToolHost> host;
    std::shared_ptr<PETextTool> tool;
};

TEST_F(TextToolTest, ANewTextShowsThePlaceholderAtTheTopWithTheKeyboardUp) {
    EXPECT_TRUE(tool->settingView()->isHidden());
    const auto& items = tool->menuItems();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_TRUE(items[PETextTool::NewItem]->isUserInteractionEnabled());
    EXPECT_FALSE(items[PETextTool::FontItem]->isUserInteractionEnabled());

    tool->addNewText();
    environment.runUntilIdle();
    const auto overlay = tool->selectedTextView();
    ASSERT_TRUE(overlay);
    EXPECT_EQ(overlay->label()->text(), "Text");
    EXPECT_EQ(overlay->font()->pointSize(), _PETextView::kFontSize);
    // Within 80 % of the picture's width and a fifth of its height, whichever is tighter.
    const CGRect frame = overlay->frame();
    EXPECT_LE(frame.size.width, 320 * 0.8 + 1e-9);
    EXPECT_LE(frame.size.height, 424 * 0.2 + 32 * (1 - overlay->scale()) + 1e-9);
    EXPECT_NEAR(CGRectGetMidX(frame), 160, 1e-9);
    EXPECT_NEAR(frame.origin.y, 10, 1e-9);
    EXPECT_TRUE(overlay->active());
    EXPECT_TRUE(tool->settingView()->isFirstResponder());
    EXPECT_TRUE(UIKeyboard::shared().isVisible());
    EXPECT_FALSE(tool->settingView()->isHidden());
    EXPECT_TRUE(items[PETextTool::FontItem]->isUserInteractionEnabled());
}

TEST_F(TextToolTest, TypingReplacesThePlaceholderAndLineFeedsGrowTheOverlay) {
    const auto overlay = addText("Hello");
    EXPECT_EQ(overlay->text(), "Hello");
    EXPECT_EQ(overlay->label()->text(), "Hello");
    const double oneLine = overlay->frame().size.height;
    const double scale = overlay->scale();
    ASSERT_FALSE(UIKeyboard::shared().typeText("\nthere").hasError());
    // Taller, and not smaller: the height limit is for one line.
    EXPECT_GT(overlay->frame().size.height, oneLine * 1.5);
    EXPECT_EQ(overlay->scale(), scale);
    // A long line shrinks the whole text to 80 % of the width.
    ASSERT_FALSE(UIKeyboard::shared().typeText(" and a much longer line of text").hasError());
    EXPECT_LT(overlay->scale(), scale);
    EXPECT_NEAR(overlay->scale(), 320 * 0.8 / (overlay->label()->bounds().size.width + 32), 1e-9);
    // Emptied, it shows the placeholder again.
    for (int i = 0; i < 80; ++i) {
        ASSERT_FALSE(UIKeyboard::shared().deleteBackward().hasError());
    }
    EXPECT_EQ(overlay->text(), "");
    EXPECT_EQ(overlay->label()->text(), "Text");
}

TEST_F(TextToolTest, TheHandleScalesNoLowerThanAThirdAndTurnsFreely) {
    const auto overlay = addText("Hi");
    tool->settingView()->resignFirstResponder();
    const CGPoint centre = inWindow(
        *overlay, CGPointMake(overlay->bounds().size.width / 2, overlay->bounds().size.height / 2));
    // Most of the way to the centre: the scale stops at 0.3, the angle stays.
    const CGPoint handle = handleInWindow(*overlay);
    TouchInjector::drag(handle,
                        CGPointMake(centre.x + (handle.x - centre.x) * 0.05,
                                    centre.y + (handle.y - centre.y) * 0.05),
                        0.3);
    environment.runUntilIdle();
    EXPECT_EQ(overlay->scale(), _PETextView::kMinimumScale);
    EXPECT_NEAR(overlay->angle(), 0, 1e-6);

    // Out again, twice as far from the centre as it started: twice the scale.
    const CGPoint start = handleInWindow(*overlay);
    const double before = overlay->scale();
    TouchInjector::drag(start, CGPointMake(2 * start.x - centre.x, 2 * start.y - centre.y), 0.3);
    environment.runUntilIdle();
    EXPECT_NEAR(overlay->scale(), 2 * before, 0.05);
    EXPECT_NEAR(overlay->angle(), 0, 1e-6);

    // A quarter turn round the centre turns the overlay a quarter.
    const CGPoint from = handleInWindow(*overlay);
    const CGPoint offset = CGPointMake(from.x - centre.x, from.y - centre.y);
    TouchInjector::drag(from, CGPointMake(centre.x - offset.y, centre.y + offset.x), 0.3);
    environment.runUntilIdle();
    EXPECT_NEAR(overlay->angle(), std::numbers::pi / 2, 0.02);
}

TEST_F(TextToolTest, DeletingSelectsTheNextOverlayBelowOrNone) {
    const auto back = addText("Back");
    const auto front = addText("Front");
    EXPECT_FALSE(back->active());
    front->pushedDeleteBtn();
    environment.runUntilIdle();
    EXPECT_FALSE(front->superview());
    EXPECT_EQ(tool->selectedTextView(), back);
    EXPECT_TRUE(back->active());

    back->pushedDeleteBtn();
    environment.runUntilIdle();
    EXPECT_FALSE(tool->selectedTextView());
    EXPECT_TRUE(tool->settingView()->isHidden());
    EXPECT_FALSE(UIKeyboard::shared().isVisible());
    for (const auto& item : tool->menuItems()) {
        EXPECT_EQ(item->isUserInteractionEnabled(), item->tag() == PETextTool::NewItem);
    }
}

TEST_F(TextToolTest, TappingSelectsFirstAndOpensTheTextOnTheSecondTap) {
    const auto first = addText("One");
    const auto second = addText("Two");
    // Apart, so that each can be tapped.
    second->setCenter(CGPointMake(160, 300));
    tool->settingView()->resignFirstResponder();
    EXPECT_FALSE(UIKeyboard::shared().isVisible());

    TouchInjector::tapAt(
        inWindow(*first->label(), CGPointMake(first->label()->bounds().size.width / 2,
                                              first->label()->bounds().size.height / 2)));
    environment.runUntilIdle();
    EXPECT_EQ(tool->selectedTextView(), first);
    EXPECT_EQ(first->superview()->subviews().back(), first);
    EXPECT_FALSE(UIKeyboard::shared().isVisible());
    EXPECT_EQ(tool->settingView()->selectedText(), "One");

    environment.fastForwardBy(1);
    TouchInjector::tapAt(
        inWindow(*first->label(), CGPointMake(first->label()->bounds().size.width / 2,
                                              first->label()->bounds().size.height / 2)));
    environment.runUntilIdle();
    EXPECT_TRUE(UIKeyboard::shared().isVisible());
    EXPECT_EQ(tool->settingView()->pagesView()->contentOffset().x, 0);
}

TEST_F(TextToolTest, TheColourItemShowsTheOutlineWidthAsItsBorder) {
    addText("Hi");
    const auto icon = tool->menuItems()[PETextTool::ColorItem]->iconView();
    const auto slider = tool->settingView()->pathSlider();
    for (const auto& [width, border] : {std::pair{0.0, 2.0}, std::pair{0.5, 5.0}}) {
        slider->setValue(float(width));
        slider->sendActionsForControlEvents(UIControlEventValueChanged);
        EXPECT_EQ(icon->layer()->borderWidth(), border);
        EXPECT_EQ(tool->selectedTextView()->borderWidth(), width);
    }
}

TEST_F(TextToolTest, BakingDrawsTheTextWhereItShowsAtThePicturesResolution) {
    const auto overlay = addText("Hello");
    tool->settingView()->colorPickerView()->setColor(UIColor::redColor());
    overlay->setCenter(CGPointMake(150, 250));
    const CGRect shown = overlay->label()->frame();
    const CGPoint centre = overlay->center();

    const auto baked = ok();
    ASSERT_TRUE(baked);
    EXPECT_EQ(baked->size(), picture->size());
    EXPECT_EQ(baked->cgImage()->width(), 640u);
    const InkBox ink = redInk(*baked->cgImage());
    ASSERT_FALSE(ink.empty());
    // Twice the screen's place and size: inside the label's frame, about its centre.
    const CGRect label = CGRectOffset(shown, overlay->frame().origin.x, overlay->frame().origin.y);
    EXPECT_GE(ink.minX, 2 * CGRectGetMinX(label) - 2);
    EXPECT_LE(ink.maxX, 2 * CGRectGetMaxX(label) + 2);
    EXPECT_GE(ink.minY, 2 * CGRectGetMinY(label) - 2);
    EXPECT_LE(ink.maxY, 2 * CGRectGetMaxY(label) + 2);
    EXPECT_NEAR((ink.minX + ink.maxX) / 2, 2 * centre.x, 6);
    EXPECT_GT(ink.width(), 2 * shown.size.width * 0.6);
    // No handle or frame line went into the picture.
    EXPECT_FALSE(overlay->active());
}

TEST_F(TextToolTest, BakingFollowsTheOverlaysTurnAndKeepsThePlaceholder) {
    const auto overlay = addText("Hello");
    tool->settingView()->colorPickerView()->setColor(UIColor::redColor());
    // In the middle, where the turned word fits as well.
    overlay->setCenter(CGPointMake(160, 212));
    const auto level = redInk(*ok()->cgImage());
    ASSERT_FALSE(level.empty());
    EXPECT_GT(level.width(), 2 * level.height());

    // Turned a quarter: the word stands upright.
    const CGPoint start = handleInWindow(*overlay);
    const CGPoint centre = inWindow(
        *overlay, CGPointMake(overlay->bounds().size.width / 2, overlay->bounds().size.height / 2));
    const CGPoint offset = CGPointMake(start.x - centre.x, start.y - centre.y);
    _PETextView::setActiveTextView(overlay);
    environment.runUntilIdle();
    TouchInjector::drag(start, CGPointMake(centre.x - offset.y, centre.y + offset.x), 0.3);
    environment.runUntilIdle();
    const auto upright = redInk(*ok()->cgImage());
    EXPECT_GT(upright.height(), 2 * upright.width());
    EXPECT_NEAR(upright.height(), level.width(), level.width() * 0.1);

    // Emptied: the placeholder word is drawn like any text.
    _PETextView::setActiveTextView(overlay);
    environment.runUntilIdle();
    tool->settingView()->setSelectedText("");
    overlay->setText("");
    EXPECT_FALSE(redInk(*ok()->cgImage()).empty());
}

TEST_F(TextToolTest, WithoutOverlaysThePictureComesBackAsItWas) {
    const auto baked = ok();
    ASSERT_TRUE(baked);
    EXPECT_EQ(baked->size(), picture->size());
    EXPECT_EQ(baked->cgImage()->pixelAt(320, 424), 0xffffffffu);
}

TEST_F(TextToolTest, CleanupTakesEverythingAwayAndTheKeyboardWithIt) {
    addText("Hi");
    host->back(*tool);
    environment.fastForwardBy(0.3);
    EXPECT_FALSE(tool->workingView()->superview());
    EXPECT_FALSE(tool->settingView()->superview());
    EXPECT_FALSE(tool->menuScroll()->superview());
    EXPECT_FALSE(UIKeyboard::shared().isVisible());
    EXPECT_EQ(host->resetZoomCalls, 1);
}

// What the panel reports, as lines.
class PanelLog : public PETextSettingViewDelegate {
public:
    void textSettingViewDidChangeFillColor(PETextSettingView&,
                                           const std::shared_ptr<UIColor>& color) override {
        lines.push_back("fill " + color->description());
    }
    void textSettingViewDidChangeBorderColor(PETextSettingView&,
                                             const std::shared_ptr<UIColor>& color) override {
        lines.push_back("border " + color->description());
    }
    void textSettingViewDidChangeBorderWidth(PETextSettingView&, double width) override {
        lines.push_back("width " + std::to_string(width));
    }
    void textSettingViewDidChangeText(PETextSettingView&, const std::string& text) override {
        lines.push_back("text " + text);
    }
    std::vector<std::string> lines;
};

// The panel on its own, just above an 80-point menu at the bottom of the screen.
class TextSettingViewTest : public ::testing::Test {
protected:
    TextSettingViewTest() {
        const CGRect screen = UIScreen::mainScreen()->bounds();
        window->setFrame(screen);
        panel->setFrame(CGRectMake(0, screen.size.height - 80 - 180, screen.size.width, 180));
        panel->setDelegate(reports);
        window->addSubview(panel);
        window->makeKeyAndVisible();
    }

    TaskEnvironment environment;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectZero);
    std::shared_ptr<PETextSettingView> panel =
        PETextSettingView::initWithFrame(CGRectMake(0, 0, 375, 180));
    std::shared_ptr<PanelLog> reports = std::make_shared<PanelLog>();
    std::vector<std::string>& log = reports->lines;
};

TEST_F(TextSettingViewTest, TheSwatchesChooseWhichColourThePickerEdits) {
    panel->setSelectedBorderColor(UIColor::blueColor());
    EXPECT_TRUE(log.empty()); // the fill swatch is the one edited

    panel->setSelectedMode(panel->pathCircle());
    // As the picker reads it back: blue.
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("border ", 0), 0u);
    EXPECT_NEAR(panel->selectedBorderColor()->red(), 0, 1e-5);
    EXPECT_NEAR(panel->selectedBorderColor()->blue(), 1, 1e-5);
    EXPECT_TRUE(panel->pathCircle()->backgroundColor());
    EXPECT_EQ(panel->fillCircle()->backgroundColor()->alpha(), 0);

    // The fill changes alone while the outline is edited.
    log.clear();
    panel->setSelectedFillColor(UIColor::greenColor());
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(panel->selectedFillColor()->isEqual(*UIColor::greenColor()));
    EXPECT_NEAR(panel->colorPickerView()->color()->blue(), 1, 1e-3);

    // The width: reported when moved, not when set.
    panel->setSelectedBorderWidth(0.3);
    EXPECT_TRUE(log.empty());
    panel->pathSlider()->setValue(0.5f);
    panel->pathSlider()->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(log, (std::vector<std::string>{"width 0.500000"}));
}

TEST_F(TextSettingViewTest, ThePanelRisesJustAboveTheKeyboardAndComesBack) {
    ASSERT_TRUE(panel->becomeFirstResponder());
    const double keyboardTop = UIKeyboard::shared().frame().origin.y;
    const auto field = panel->textView();
    EXPECT_EQ(field->frame().size.height, PETextSettingView::kTypingHeight);
    EXPECT_NEAR(field->convertRectToView(field->bounds(), nullptr).origin.y +
                    PETextSettingView::kTypingHeight,
                keyboardTop, 1e-3);

    ASSERT_TRUE(panel->resignFirstResponder());
    EXPECT_EQ(panel->transform(), CGAffineTransformIdentity);
    EXPECT_EQ(field->frame().size.height, 180 - 20);
}

TEST_F(TextSettingViewTest, ALineFeedAtTheEndScrollsTheNewLineIntoView) {
    ASSERT_TRUE(panel->becomeFirstResponder());
    ASSERT_FALSE(UIKeyboard::shared().typeText("one\ntwo\nthree\nfour\nfive\n").hasError());
    const auto field = panel->textView();
    EXPECT_NEAR(field->contentOffset().y + field->bounds().size.height, field->contentSize().height,
                1e-3);
    EXPECT_EQ(log.back(), "text one\ntwo\nthree\nfour\nfive\n");
}

} // namespace
