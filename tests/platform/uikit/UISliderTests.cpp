// Sliders under real drags: the value follows the finger from the thumb, stays in range,
// reports changes while dragging or once at the end; and how the track and thumb paint.
#include "harness/TouchInjector.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/platform/uikit/TouchFixture.h"
#include "tests/support/ImageFixtures.h"

#include <algorithm>

namespace {

// A 228-point slider: the 28-point thumb travels 200 points, from x 20 to x 220 in the
// window for its left edge, so its centre is at 34 + 200 * fraction.
class UISliderTest : public TouchTest {
protected:
    UISliderTest() {
        slider->setMaximumValue(10);
        slider->setAccessibilityLabel("Border");
        root->addSubview(slider);
        slider->addTargetActionForControlEvents(
            target,
            [this](UIControl& control) {
                values.push_back(static_cast<UISlider&>(control).value());
            },
            UIControlEventValueChanged);
    }
    static CGPoint onTrack(double x) { return CGPointMake(x, 115); }
    // Where the thumb's centre is for the slider's value.
    double thumbCentreX() const { return 34 + 200 * slider->value() / 10; }

    std::shared_ptr<UISlider> slider = UISlider::initWithFrame(CGRectMake(20, 100, 228, 30));
    std::vector<float> values; // the value at each value-changed event
};

TEST_F(UISliderTest, DragsMoveTheValueWithTheFinger) {
    struct Case {
        const char* name;
        float start;
        double fromOffset; // finger from the thumb's centre
        double dx;
        float expected;
    };
    const Case cases[] = {
        {"from the centre, right by half the travel", 0, 0, 100, 5},
        {"grabbed off-centre, the offset is kept", 2, 8, 60, 5},
        {"leftwards", 8, 0, -100, 3},
        {"past the right end", 5, 0, 300, 10},
        {"past the left end", 5, 0, -300, 0},
        {"landing on the track away from the thumb", 0, 80, 100, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        slider->setValue(c.start);
        values.clear();
        const CGPoint from = onTrack(thumbCentreX() + c.fromOffset);
        ASSERT_TRUE(TouchInjector::drag(from, CGPointMake(from.x + c.dx, from.y), 0.3));
        EXPECT_NEAR(slider->value(), c.expected, 1e-4);
        if (c.expected == c.start) {
            EXPECT_TRUE(values.empty());
        } else {
            ASSERT_FALSE(values.empty());
            EXPECT_NEAR(values.back(), c.expected, 1e-4);
        }
    }
}

TEST_F(UISliderTest, ATapOnTheTrackDoesNotJump) {
    slider->setValue(2);
    TouchInjector::tapAt(onTrack(200));
    EXPECT_EQ(slider->value(), 2);
    EXPECT_TRUE(values.empty());
}

TEST_F(UISliderTest, ContinuousReportsEveryStepOtherwiseOnlyTheEnd) {
    ASSERT_TRUE(TouchInjector::drag(onTrack(34), onTrack(134), 0.3));
    EXPECT_GT(values.size(), 2u);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));

    slider->setContinuous(false);
    values.clear();
    ASSERT_TRUE(TouchInjector::drag(onTrack(134), onTrack(74), 0.3));
    EXPECT_EQ(values, std::vector<float>{2});

    // A drag that cannot move the value (the thumb is at the end already) reports nothing.
    slider->setValue(0);
    values.clear();
    ASSERT_TRUE(TouchInjector::drag(onTrack(34), onTrack(0), 0.2));
    EXPECT_TRUE(values.empty());
}

TEST_F(UISliderTest, ValuesStayInRange) {
    struct Case {
        float minimum, maximum, set, expected;
    };
    const Case cases[] = {
        {0, 10, 11, 10},
        {0, 10, -1, 0},
        {-5, 5, -3.5f, -3.5f},
        {3, 3, 7, 3},
    };
    for (const auto& c : cases) {
        auto s = UISlider::initWithFrame(CGRectMake(0, 0, 100, 20));
        s->setMaximumValue(c.maximum);
        s->setMinimumValue(c.minimum);
        s->setValueAnimated(c.set, true);
        EXPECT_EQ(s->value(), c.expected) << c.minimum << ".." << c.maximum << " set " << c.set;
    }
    // Narrowing the range pulls the value in; a minimum past the maximum moves it along.
    slider->setValue(8);
    slider->setMaximumValue(6);
    EXPECT_EQ(slider->value(), 6);
    slider->setMinimumValue(9);
    EXPECT_EQ(slider->maximumValue(), 9);
    EXPECT_EQ(slider->value(), 9);
    EXPECT_TRUE(values.empty()); // setting from code sends no event
}

TEST_F(UISliderTest, FoundByItsLabel) {
    const auto found = TouchInjector::viewsWithLabel(window, "Border");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front(), slider);
}

TEST_F(UISliderTest, PaintsTheFilledTrackInTheMinimumTintAndAWhiteThumb) {
    root->setBackgroundColor(UIColor::grayColor());
    slider->setMinimumTrackTintColor(UIColor::redColor());
    slider->setMaximumTrackTintColor(UIColor::blueColor());
    slider->setValue(5);
    const auto shot = ViewRenderer::snapshotWindow(*window, 1);
    const auto pixel = [&](size_t x, size_t y) { return shot->cgImage()->pixelAt(x, y); };
    EXPECT_EQ(pixel(40, 114), 0xffff0000u);  // filled part, left of the thumb
    EXPECT_EQ(pixel(200, 114), 0xff0000ffu); // the rest
    EXPECT_EQ(pixel(134, 115), 0xffffffffu); // the thumb's middle
    const uint32_t grey = pixel(40, 105);    // the track is thin
    EXPECT_EQ(pixel(10, 105), grey);
    // The shadow darkens what lies just below the thumb, softly.
    const uint32_t below = pixel(134, 131) & 0xff;
    EXPECT_LT(below, grey & 0xff);
    EXPECT_GT(below, (grey & 0xff) / 2);
}

TEST_F(UISliderTest, AThumbImageSetsTheThumbsSize) {
    // A 10-point thumb travels 218 points: from its centre at 25, right by 109 is half.
    slider->setThumbImageForState(
        UIImage::imageWithCGImage(makeImage(10, 10, CGImagePixelFormat::ARGB32Premultiplied,
                                            [](size_t, size_t) { return 0xff00ff00; })),
        UIControlStateNormal);
    slider->setValue(0);
    ASSERT_TRUE(TouchInjector::drag(onTrack(25), onTrack(134), 0.3));
    EXPECT_NEAR(slider->value(), 5, 1e-4);
    EXPECT_EQ(slider->thumbImageForState(UIControlStateHighlighted),
              slider->thumbImageForState(UIControlStateNormal));
}

} // namespace
