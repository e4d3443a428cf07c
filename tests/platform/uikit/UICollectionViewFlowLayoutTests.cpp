// The flow layout's placement: items per line, justified full lines, left-aligned last
// lines, section insets, several sections, both scroll directions, and the content size.
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UICollectionViewFlowLayout.h"
#include "platform/uikit/UICollectionViewLayoutAttributes.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

namespace {

// Serves fixed item counts, one number per section; makes no cells (no view shows them).
class CountsDataSource : public UICollectionViewDataSource {
public:
    explicit CountsDataSource(std::vector<long> counts) : counts_(std::move(counts)) {}
    long numberOfSectionsInCollectionView(UICollectionView&) override {
        return long(counts_.size());
    }
    long collectionViewNumberOfItemsInSection(UICollectionView&, long section) override {
        return counts_[size_t(section)];
    }
    std::shared_ptr<UICollectionViewCell>
    collectionViewCellForItemAtIndexPath(UICollectionView&, const NSIndexPath&) override {
        return UICollectionViewCell::initWithFrame(CGRectZero);
    }

private:
    std::vector<long> counts_;
};

struct Grid {
    CGSize viewSize;
    CGSize itemSize;
    CGFloat interitem = 0;
    CGFloat line = 0;
    UIEdgeInsets sectionInset{};
    std::vector<long> counts;
    UICollectionViewScrollDirection direction = UICollectionViewScrollDirection::Vertical;
};

class FlowLayoutTest : public ::testing::Test {
protected:
    void build(const Grid& grid) {
        layout = std::make_shared<UICollectionViewFlowLayout>();
        layout->setItemSize(grid.itemSize);
        layout->setMinimumInteritemSpacing(grid.interitem);
        layout->setMinimumLineSpacing(grid.line);
        layout->setSectionInset(grid.sectionInset);
        layout->setScrollDirection(grid.direction);
        view = UICollectionView::initWithFrameCollectionViewLayout(
            CGRect{CGPointZero, grid.viewSize}, layout);
        dataSource = std::make_shared<CountsDataSource>(grid.counts);
        view->setDataSource(dataSource);
        view->reloadData();
    }
    CGPoint origin(long item, long section = 0) {
        const auto attributes = view->layoutAttributesForItemAtIndexPath(
            NSIndexPath::indexPathForItemInSection(item, section));
        return attributes ? attributes->frame().origin : CGPointMake(-1, -1);
    }

    TaskEnvironment environment;
    std::shared_ptr<UICollectionViewFlowLayout> layout;
    std::shared_ptr<UICollectionView> view;
    std::shared_ptr<CountsDataSource> dataSource;
};

TEST_F(FlowLayoutTest, ThePickersGridFillsFourToALineExactly) {
    // A 375-point-wide grid of 92.25-point squares, 2 points apart, 2 points from the top.
    build({{375, 453}, {92.25, 92.25}, 2, 2, UIEdgeInsetsMake(2, 0, 0, 0), {200}});
    view->setContentInset(UIEdgeInsetsMake(0, 0, 50, 0));
    struct Case {
        long item;
        CGPoint origin;
    };
    const Case cases[] = {
        {0, {0, 2}},     {1, {94.25, 2}},      {2, {188.5, 2}},         {3, {282.75, 2}},
        {4, {0, 96.25}}, {7, {282.75, 96.25}}, {198, {188.5, 4620.25}}, {199, {282.75, 4620.25}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        EXPECT_EQ(origin(c.item), c.origin);
    }
    const auto last =
        view->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(199, 0));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->frame().size, CGSizeMake(92.25, 92.25));
    // 50 lines of 92.25 with 49 gaps of 2, below the inset of 2.
    EXPECT_EQ(view->contentSize(), CGSizeMake(375, 4712.5));
    EXPECT_FALSE(
        view->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(200, 0)));
}

TEST_F(FlowLayoutTest, FullLinesAreJustifiedAndTheLastIsLeftAligned) {
    // Four of 70 fit in 320 with gaps of at least 10; the 40 points to spare make gaps of 40/3.
    build({{320, 480}, {70, 70}, 10, 5, {}, {10}});
    const CGFloat gap = 40.0 / 3;
    EXPECT_EQ(origin(0), CGPointMake(0, 0));
    EXPECT_DOUBLE_EQ(origin(1).x, 70 + gap);
    EXPECT_DOUBLE_EQ(origin(3).x, 250);
    EXPECT_EQ(origin(4), CGPointMake(0, 75));
    // The last line holds two, at the minimum spacing.
    EXPECT_EQ(origin(8), CGPointMake(0, 150));
    EXPECT_EQ(origin(9), CGPointMake(80, 150));
    EXPECT_EQ(view->contentSize(), CGSizeMake(320, 220));
}

TEST_F(FlowLayoutTest, SectionsFollowEachOtherWithTheirInsets) {
    // 260 points across inside the insets: four of 50 a line, 20 apart when full.
    build({{320, 480}, {50, 50}, 10, 10, UIEdgeInsetsMake(10, 20, 30, 40), {5, 0, 3}});
    EXPECT_EQ(origin(0, 0), CGPointMake(20, 10));
    EXPECT_EQ(origin(3, 0), CGPointMake(230, 10));
    EXPECT_EQ(origin(4, 0), CGPointMake(20, 70));
    // Section 0 ends at 10 + 50 + 10 + 50 + 30 = 150; the empty section still has its
    // insets (40); section 2 starts 10 below that.
    EXPECT_EQ(origin(0, 2), CGPointMake(20, 200));
    EXPECT_EQ(origin(2, 2), CGPointMake(140, 200));
    EXPECT_EQ(view->contentSize(), CGSizeMake(320, 280));
    EXPECT_EQ(view->numberOfSections(), 3);
}

TEST_F(FlowLayoutTest, ALineOfOneItemCentresIt) {
    build({{100, 480}, {60, 40}, 10, 10, {}, {3}});
    EXPECT_EQ(origin(0), CGPointMake(20, 0));
    EXPECT_EQ(origin(2), CGPointMake(20, 100));
    // Wider than the view: it starts at the left edge.
    layout->setItemSize(CGSizeMake(150, 40));
    EXPECT_EQ(origin(1), CGPointMake(0, 50));
}

TEST_F(FlowLayoutTest, HorizontalScrollingFillsColumnsTopToBottom) {
    // Four of 40 fit in 200 with gaps of at least 10; the spare 40 makes gaps of 40/3.
    build({{300, 200},
           {50, 40},
           10,
           20,
           UIEdgeInsetsMake(0, 5, 0, 5),
           {7},
           UICollectionViewScrollDirection::Horizontal});
    EXPECT_EQ(origin(0), CGPointMake(5, 0));
    EXPECT_DOUBLE_EQ(origin(1).y, 40 + 40.0 / 3);
    EXPECT_EQ(origin(3), CGPointMake(5, 160));
    // The second column is not full: the minimum spacing.
    EXPECT_EQ(origin(4), CGPointMake(75, 0));
    EXPECT_EQ(origin(6), CGPointMake(75, 100));
    EXPECT_EQ(view->contentSize(), CGSizeMake(130, 200));
}

TEST_F(FlowLayoutTest, ItemsInARectangleAreThoseOverlappingIt) {
    build({{375, 453}, {92.25, 92.25}, 2, 2, UIEdgeInsetsMake(2, 0, 0, 0), {200}});
    for (const CGRect rect : {CGRectMake(0, 0, 375, 453), CGRectMake(0, 1000, 375, 453),
                              CGRectMake(100, 96.25, 50, 92.25), CGRectMake(0, 4700, 375, 453)}) {
        SCOPED_TRACE(NSStringFromCGRect(rect));
        std::set<long> expected;
        for (long item = 0; item < 200; ++item) {
            const CGRect frame = CGRect{origin(item), CGSizeMake(92.25, 92.25)};
            const CGRect common = CGRectIntersection(frame, rect);
            if (!CGRectIsNull(common) && common.size.width > 0 && common.size.height > 0) {
                expected.insert(item);
            }
        }
        std::set<long> found;
        for (const auto& attributes : layout->layoutAttributesForElementsInRect(rect)) {
            found.insert(attributes->indexPath().item());
        }
        EXPECT_EQ(found, expected);
        EXPECT_FALSE(found.empty());
    }
}

} // namespace
