// The drum picker: the endless drum's selection as its content scrolls, the ring of row
// views it recycles, and the picker's layout of drums side by side.
#include "editor/widgets/PEPickerDrum.h"
#include "editor/widgets/PEPickerView.h"
#include "platform/graphics/CGImage.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIViewAnimation.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Rows titled "r0", "r1" ...; logs each selection it is told of.
class Rows : public PEPickerDrumDataSource, public PEPickerDrumDelegate {
public:
    explicit Rows(long count) : count(count) {}
    long numberOfRowsInPickerDrum(PEPickerDrum&) override { return count; }
    std::string pickerDrumTitleForRow(PEPickerDrum&, long row) override {
        return "r" + std::to_string(row);
    }
    void pickerDrumDidSelectRow(PEPickerDrum&, long row) override { selections.push_back(row); }

    long count;
    std::vector<long> selections;
};

class PEPickerDrumTest : public ::testing::Test {
protected:
    // 120 high: rows of 40, five row views (the three shown and one spare at each end).
    void make(long rows) {
        source = std::make_shared<Rows>(rows);
        drum = PEPickerDrum::initWithFrame(CGRectMake(0, 0, 100, 120));
        drum->setDataSource(source);
        drum->setDelegate(source);
        drum->layoutSubviews();
    }
    // The row titles from the top of the drum to its bottom.
    std::vector<std::string> titles() const {
        auto views = drum->scrollView().subviews();
        std::ranges::sort(views, {}, [](const auto& view) { return view->frame().origin.y; });
        std::vector<std::string> result;
        for (const auto& view : views) {
            result.push_back(std::static_pointer_cast<UILabel>(view)->text());
        }
        return result;
    }
    // The title of the row view under the centre line.
    std::string centreTitle() const {
        const double middle = drum->scrollView().contentOffset().y + 60;
        for (const auto& view : drum->scrollView().subviews()) {
            if (view->frame().origin.y <= middle && CGRectGetMaxY(view->frame()) > middle) {
                return std::static_pointer_cast<UILabel>(view)->text();
            }
        }
        return "(none)";
    }
    void scrollBy(double rows) {
        UIScrollView& scroll = drum->scrollView();
        scroll.setContentOffset(CGPointMake(0, scroll.contentOffset().y + rows * 40));
    }

    TaskEnvironment environment;
    std::shared_ptr<Rows> source;
    std::shared_ptr<PEPickerDrum> drum;
};

TEST_F(PEPickerDrumTest, TheRowUnderTheCentreLineIsTheSelectionAfterAScroll) {
    make(7);
    EXPECT_EQ(drum->viewCount(), 5);
    EXPECT_EQ(titles(), (std::vector<std::string>{"r5", "r6", "r0", "r1", "r2"}));

    scrollBy(1);
    EXPECT_EQ(drum->selectedRow(), 1);
    EXPECT_EQ(centreTitle(), "r1");
    // Backwards past row 0: the rows go round.
    scrollBy(-3);
    EXPECT_EQ(drum->selectedRow(), 5);
    EXPECT_EQ(centreTitle(), "r5");
    EXPECT_EQ(titles(), (std::vector<std::string>{"r3", "r4", "r5", "r6", "r0"}));
    EXPECT_EQ(source->selections, (std::vector<long>{1, 0, 6, 5}));
    // However far it went, no more views than the ring holds.
    EXPECT_EQ(long(drum->scrollView().subviews().size()), drum->viewCount());
}

TEST_F(PEPickerDrumTest, AFlingOfSeveralRowsInOneCallbackStepsTheRingThatOften) {
    make(7);
    scrollBy(4.6); // |4.6| rounded half up: five rows
    EXPECT_EQ(drum->selectedRow(), 5);
    EXPECT_EQ(source->selections, (std::vector<long>{1, 2, 3, 4, 5}));
    EXPECT_EQ(titles(), (std::vector<std::string>{"r3", "r4", "r5", "r6", "r0"}));
}

TEST_F(PEPickerDrumTest, ADragEndingBetweenRowsSettlesOnTheRowTheViewsAreArrangedFor) {
    make(7);
    const double parked = drum->scrollView().contentOffset().y;
    scrollBy(1.3);
    UIViewAnimation::clearRecords();
    drum->scrollViewDidEndDraggingWillDecelerate(drum->scrollView(), false);
    EXPECT_EQ(drum->scrollView().contentOffset().y, parked + 40);
    ASSERT_EQ(UIViewAnimation::records().size(), 1u);
    EXPECT_EQ(UIViewAnimation::records()[0].duration, PEPickerDrum::kSnapDuration);
    EXPECT_EQ(drum->selectedRow(), 1);
    // A fling settles only once it comes to rest.
    scrollBy(0.4);
    drum->scrollViewDidEndDraggingWillDecelerate(drum->scrollView(), true);
    EXPECT_EQ(drum->scrollView().contentOffset().y, parked + 56);
    drum->scrollViewDidEndDecelerating(drum->scrollView());
    EXPECT_EQ(drum->scrollView().contentOffset().y, parked + 40);
}

TEST_F(PEPickerDrumTest, SelectingWrapsIntoTheRowsAndNeverBelowZero) {
    make(3);
    struct Case {
        long asked;
        long shown;
    };
    for (const Case c : {Case{5, 2}, Case{-1, 2}, Case{1, 1}, Case{-5, 1}, Case{-300, 0}}) {
        source->selections.clear();
        drum->selectRowAnimated(c.asked, true);
        EXPECT_EQ(drum->selectedRow(), c.shown) << c.asked;
        EXPECT_EQ(centreTitle(), "r" + std::to_string(c.shown)) << c.asked;
        // Told only when the wrapping changed what was asked.
        EXPECT_EQ(source->selections,
                  c.asked == c.shown ? std::vector<long>{} : std::vector<long>{c.shown})
            << c.asked;
    }
}

TEST_F(PEPickerDrumTest, ADrumWithoutRowsShowsEmptyLabelsAndRowZero) {
    make(0);
    EXPECT_EQ(titles(), std::vector<std::string>(5, ""));
    scrollBy(2);
    EXPECT_EQ(drum->selectedRow(), 0);
    EXPECT_TRUE(source->selections.empty());
}

TEST_F(PEPickerDrumTest, TheVeilCoversAllButTheCentreRow) {
    make(7);
    drum->setForegroundColor(UIColor::redColor());
    const auto veil = drum->foregroundImage();
    ASSERT_TRUE(veil);
    const CGImageRef pixels = veil->cgImage();
    const double scale = veil->scale();
    EXPECT_EQ(pixels->pixelAt(10 * scale, 20 * scale), 0xffff0000u);
    EXPECT_EQ(pixels->pixelAt(10 * scale, 60 * scale), 0u);
    EXPECT_EQ(pixels->pixelAt(10 * scale, 100 * scale), 0xffff0000u);
    drum->setForegroundColor(nullptr);
    EXPECT_FALSE(drum->foregroundImage());
}

// Components of given widths (0: the default share); titles left to the picker.
class Components : public PEPickerViewDataSource, public PEPickerViewDelegate {
public:
    long numberOfComponentsInPickerView(PEPickerView&) override { return long(widths.size()); }
    long pickerViewNumberOfRowsInComponent(PEPickerView&, long) override { return 4; }
    double pickerViewWidthForComponent(PEPickerView&, long component) override {
        return widths[size_t(component)];
    }
    void pickerViewDidSelectRowInComponent(PEPickerView&, long row, long component) override {
        selections.emplace_back(row, component);
    }

    std::vector<double> widths;
    std::vector<std::pair<long, long>> selections;
};

TEST(PEPickerViewTest, DrumsStandSideBySideAsWideAsTheDelegateSays) {
    TaskEnvironment environment;
    auto components = std::make_shared<Components>();
    auto picker = PEPickerView::initWithFrame(CGRectMake(0, 0, 300, 90));
    picker->setDataSource(components);
    picker->setDelegate(components);
    struct Case {
        std::vector<double> widths;
        std::vector<CGRect> frames;
    };
    const Case cases[] = {
        {{0, 0, 0}, {{0, 0, 100, 90}, {100, 0, 100, 90}, {200, 0, 100, 90}}},
        // A zero-width last component takes the share, after the others.
        {{240, 0}, {{0, 0, 240, 90}, {240, 0, 150, 90}}},
        {{50}, {{0, 0, 50, 90}}},
    };
    for (const Case& c : cases) {
        components->widths = c.widths;
        picker->layoutSubviews();
        ASSERT_EQ(picker->drums().size(), c.frames.size());
        ASSERT_EQ(picker->subviews().size(), c.frames.size());
        for (size_t i = 0; i < c.frames.size(); ++i) {
            EXPECT_EQ(picker->drums()[i]->frame(), c.frames[i]) << i;
            EXPECT_EQ(picker->drums()[i]->tag(), long(i));
        }
    }
}

TEST(PEPickerViewTest, RowsAndSelectionsAreTalkedOfByComponent) {
    TaskEnvironment environment;
    auto components = std::make_shared<Components>();
    components->widths = {0, 0};
    auto picker = PEPickerView::initWithFrame(CGRectMake(0, 0, 300, 90));
    picker->setDataSource(components);
    picker->setDelegate(components);
    // Not laid out yet: selecting lays it out first.
    picker->selectRowInComponentAnimated(2, 1, false);
    EXPECT_EQ(picker->selectedRowInComponent(1), 2);
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
    EXPECT_EQ(picker->selectedRowInComponent(7), 0);
    EXPECT_EQ(components->selections, (std::vector<std::pair<long, long>>{}));

    // Rows of a third of the height, titled by the picker when the delegate does not.
    auto& drum = *picker->drums()[1];
    EXPECT_EQ(drum.rowHeight(), 30);
    drum.scrollView().setContentOffset(CGPointMake(0, drum.scrollView().contentOffset().y + 30));
    EXPECT_EQ(components->selections, (std::vector<std::pair<long, long>>{{3, 1}}));
    EXPECT_EQ(picker->pickerDrumTitleForRow(drum, 3), "1 - 3");
    // No veil colour on the picker: none on its drums.
    EXPECT_FALSE(drum.foregroundColor());
}

} // namespace
