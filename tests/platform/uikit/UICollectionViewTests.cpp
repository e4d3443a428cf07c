// Collection views on a phone-sized screen: only visible items have cells, cells are reused
// without leaking what they showed, selection by real taps (not by drags), reloads and
// scrolling to an item.
#include "harness/TouchInjector.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UICollectionViewFlowLayout.h"
#include "platform/uikit/UICollectionViewLayoutAttributes.h"
#include "platform/uikit/UILabel.h"
#include "tests/platform/uikit/TouchFixture.h"
#include "tests/support/CapturedLog.h"

#include <algorithm>

namespace {

using Log = std::vector<std::string>;

// A cell with a label that it clears when reused, and a count of its reuses.
class LabelCell : public UICollectionViewCell {
    NS_OBJECT(LabelCell)
public:
    static std::shared_ptr<LabelCell> initWithFrame(const CGRect& frame) {
        auto cell = makeWithFrame<LabelCell>(frame);
        cell->label = UILabel::initWithFrame(cell->contentView()->bounds());
        cell->contentView()->addSubview(cell->label);
        ++made;
        return cell;
    }
    void prepareForReuse() override {
        UICollectionViewCell::prepareForReuse();
        label->setText("");
        ++reuses;
    }

    std::shared_ptr<UILabel> label;
    int reuses = 0;
    static inline int made = 0;
};

// Items numbered from 0 in one section; the label says "item N" only for items below
// `labelledBelow`, so that anything else a cell shows was left over from before.
class Grid : public UICollectionViewDataSource, public UICollectionViewDelegate {
public:
    long collectionViewNumberOfItemsInSection(UICollectionView&, long) override { return items; }
    std::shared_ptr<UICollectionViewCell>
    collectionViewCellForItemAtIndexPath(UICollectionView& view,
                                         const NSIndexPath& indexPath) override {
        auto cell = std::dynamic_pointer_cast<LabelCell>(
            view.dequeueReusableCellWithReuseIdentifierForIndexPath(identifier, indexPath));
        if (cell && indexPath.item() < labelledBelow) {
            cell->label->setText("item " + std::to_string(indexPath.item()));
        }
        return cell;
    }
    bool collectionViewShouldSelectItemAtIndexPath(UICollectionView&,
                                                   const NSIndexPath& indexPath) override {
        return indexPath.item() != refused;
    }
    void collectionViewDidSelectItemAtIndexPath(UICollectionView&,
                                                const NSIndexPath& indexPath) override {
        log.push_back("select " + std::to_string(indexPath.item()));
    }
    void scrollViewWillBeginDragging(UIScrollView&) override { log.push_back("drag"); }

    long items = 200;
    long labelledBelow = 200;
    long refused = -1;
    std::string identifier = "cell";
    Log log;
};

class UICollectionViewTest : public TouchTest {
protected:
    UICollectionViewTest() {
        window->setFrame(CGRectMake(0, 0, 375, 667));
        LabelCell::made = 0;
        // The photo grid's geometry: four 92.25-point squares to a line.
        auto layout = std::make_shared<UICollectionViewFlowLayout>();
        layout->setItemSize(CGSizeMake(92.25, 92.25));
        layout->setMinimumInteritemSpacing(2);
        layout->setMinimumLineSpacing(2);
        layout->setSectionInset(UIEdgeInsetsMake(2, 0, 0, 0));
        view = UICollectionView::initWithFrameCollectionViewLayout(CGRectMake(0, 64, 375, 453),
                                                                   layout);
        view->registerClassForCellWithReuseIdentifier<LabelCell>("cell");
        view->setDataSource(grid);
        view->setDelegate(grid);
        root->addSubview(view);
        view->reloadData();
    }

    std::shared_ptr<LabelCell> cellFor(long item) {
        return std::dynamic_pointer_cast<LabelCell>(
            view->cellForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(item, 0)));
    }
    // The centre of an item on the screen.
    CGPoint centreOf(long item) {
        const auto attributes = view->layoutAttributesForItemAtIndexPath(
            NSIndexPath::indexPathForItemInSection(item, 0));
        const CGRect frame = view->convertRectToView(attributes->frame(), nullptr);
        return CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame));
    }
    // The items whose frames overlap the bounds, worked out from the layout.
    std::vector<long> itemsInView() {
        std::vector<long> items;
        for (long item = 0; item < view->numberOfItemsInSection(0); ++item) {
            const CGRect common =
                CGRectIntersection(view->layoutAttributesForItemAtIndexPath(
                                           NSIndexPath::indexPathForItemInSection(item, 0))
                                       ->frame(),
                                   view->bounds());
            if (!CGRectIsNull(common) && common.size.width > 0 && common.size.height > 0) {
                items.push_back(item);
            }
        }
        return items;
    }
    std::vector<long> visibleItems() {
        std::vector<long> items;
        for (const auto& indexPath : view->indexPathsForVisibleItems()) {
            items.push_back(indexPath.item());
        }
        return items;
    }
    std::vector<long> selectedItems() {
        std::vector<long> items;
        for (const auto& indexPath : view->indexPathsForSelectedItems()) {
            items.push_back(indexPath.item());
        }
        return items;
    }

    std::shared_ptr<Grid> grid = std::make_shared<Grid>();
    std::shared_ptr<UICollectionView> view;
};

TEST_F(UICollectionViewTest, OnlyVisibleItemsHaveCellsAsSubviews) {
    for (const double y : {0.0, 50.0, 1000.0, 4259.5}) {
        SCOPED_TRACE(y);
        view->setContentOffset(CGPointMake(0, y));
        const auto expected = itemsInView();
        EXPECT_EQ(visibleItems(), expected);
        EXPECT_EQ(view->visibleCells().size(), expected.size());
        // No cell of an earlier position stays behind.
        long cellSubviews = 0;
        for (const auto& subview : view->subviews()) {
            cellSubviews += std::dynamic_pointer_cast<LabelCell>(subview) ? 1 : 0;
        }
        EXPECT_EQ(cellSubviews, long(expected.size()));
        for (const long item : expected) {
            ASSERT_TRUE(cellFor(item));
            EXPECT_EQ(cellFor(item)->superview(), view);
            EXPECT_EQ(cellFor(item)->label->text(), "item " + std::to_string(item));
        }
    }
    // The first screen: five lines of four, the fifth cut by the bottom edge.
    view->setContentOffset(CGPointZero);
    EXPECT_EQ(view->visibleCells().size(), 20u);
    EXPECT_FALSE(cellFor(20));
}

TEST_F(UICollectionViewTest, ScrollingReusesCellsWithoutLeakingTheirContent) {
    grid->labelledBelow = 10;
    const int firstScreen = LabelCell::made;
    const auto third = cellFor(3);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->label->text(), "item 3");

    // Down by steps, as a drag would go: cells leaving at the top come back at the bottom.
    for (double y = 0; y <= 1000; y += 20) {
        view->setContentOffset(CGPointMake(0, y));
    }
    EXPECT_LE(LabelCell::made, firstScreen + 4);
    EXPECT_FALSE(cellFor(3));
    ASSERT_TRUE(cellFor(40));
    EXPECT_GT(third->reuses, 0);
    // Items from 10 on are never labelled: every cell showing one was reused and cleared.
    for (const auto& cell : view->visibleCells()) {
        EXPECT_EQ(std::static_pointer_cast<LabelCell>(cell)->label->text(), "");
        EXPECT_GT(std::static_pointer_cast<LabelCell>(cell)->reuses, 0);
    }
    // The cell that showed item 3 now shows one of these, empty.
    EXPECT_EQ(third->superview(), view);
}

TEST_F(UICollectionViewTest, ATapSelectsTheItemADragSelectsNothing) {
    TouchInjector::tapAt(centreOf(5));
    EXPECT_EQ(grid->log, (Log{"select 5"}));
    EXPECT_EQ(selectedItems(), (std::vector<long>{5}));
    EXPECT_TRUE(cellFor(5)->isSelected());

    // Another tap moves the selection; a tap on the selected item selects it again.
    TouchInjector::tapAt(centreOf(6));
    TouchInjector::tapAt(centreOf(6));
    EXPECT_EQ(grid->log, (Log{"select 5", "select 6", "select 6"}));
    EXPECT_EQ(selectedItems(), (std::vector<long>{6}));
    EXPECT_FALSE(cellFor(5)->isSelected());

    // The delegate may refuse; a tap between items selects nothing.
    grid->log.clear();
    grid->refused = 7;
    TouchInjector::tapAt(centreOf(7));
    TouchInjector::tapAt(CGPointMake(93.25, 200));
    EXPECT_TRUE(grid->log.empty());
    EXPECT_EQ(selectedItems(), (std::vector<long>{6}));

    // A drag starting on an item scrolls instead.
    const CGPoint start = centreOf(9);
    TouchInjector::drag(start, CGPointMake(start.x, start.y - 100), 0.3);
    EXPECT_EQ(grid->log, (Log{"drag"}));
    EXPECT_EQ(view->contentOffset().y, 100);
    EXPECT_EQ(selectedItems(), (std::vector<long>{6}));
    for (const auto& cell : view->visibleCells()) {
        EXPECT_FALSE(cell->isHighlighted());
    }
}

TEST_F(UICollectionViewTest, TheCellUnderAFingerIsHighlightedUntilItLifts) {
    const auto cell = cellFor(2);
    bool lifted = false;
    TouchInjector::performAsync(TouchGesture::longPress(centreOf(2), 0.5),
                                [&lifted] { lifted = true; });
    environment.fastForwardBy(0.2);
    EXPECT_TRUE(cell->isHighlighted());
    EXPECT_FALSE(cell->isSelected());
    environment.fastForwardBy(0.5);
    EXPECT_TRUE(lifted);
    EXPECT_FALSE(cell->isHighlighted());
    EXPECT_TRUE(cell->isSelected());
}

TEST_F(UICollectionViewTest, SelectionFollowsTheItemNotTheCell) {
    view->selectItemAtIndexPathAnimatedScrollPosition(NSIndexPath::indexPathForItemInSection(1, 0),
                                                      false, UICollectionViewScrollPositionNone);
    EXPECT_TRUE(grid->log.empty()); // selecting in code tells the delegate nothing
    EXPECT_TRUE(cellFor(1)->isSelected());

    view->setContentOffset(CGPointMake(0, 2000));
    for (const auto& cell : view->visibleCells()) {
        EXPECT_FALSE(cell->isSelected());
    }
    view->setContentOffset(CGPointZero);
    EXPECT_TRUE(cellFor(1)->isSelected());
    const auto cells = view->visibleCells();
    EXPECT_EQ(std::count_if(cells.begin(), cells.end(),
                            [](const auto& cell) { return cell->isSelected(); }),
              1);

    view->deselectItemAtIndexPathAnimated(NSIndexPath::indexPathForItemInSection(1, 0), false);
    EXPECT_FALSE(cellFor(1)->isSelected());
    EXPECT_TRUE(view->indexPathsForSelectedItems().empty());
    // Items it does not have cannot be selected.
    view->selectItemAtIndexPathAnimatedScrollPosition(
        NSIndexPath::indexPathForItemInSection(200, 0), false, UICollectionViewScrollPositionNone);
    EXPECT_TRUE(view->indexPathsForSelectedItems().empty());
}

TEST_F(UICollectionViewTest, ReloadReadsTheDataAgainAndForgetsTheSelection) {
    view->selectItemAtIndexPathAnimatedScrollPosition(NSIndexPath::indexPathForItemInSection(1, 0),
                                                      false, UICollectionViewScrollPositionNone);
    grid->items = 3;
    EXPECT_EQ(view->numberOfItemsInSection(0), 200); // kept until the reload
    view->reloadData();
    EXPECT_EQ(view->numberOfItemsInSection(0), 3);
    EXPECT_EQ(visibleItems(), (std::vector<long>{0, 1, 2}));
    EXPECT_TRUE(view->indexPathsForSelectedItems().empty());
    EXPECT_EQ(view->contentSize(), CGSizeMake(375, 94.25));
    EXPECT_FALSE(cellFor(1)->isSelected());
}

TEST_F(UICollectionViewTest, ItemsAreFoundByPoint) {
    struct Case {
        CGPoint point;
        std::optional<long> item;
    };
    const Case cases[] = {
        {{1, 3}, 0},        {{94.25, 2}, 1},         {{93, 50}, std::nullopt},
        {{374, 4712}, 199}, {{10, 1}, std::nullopt}, {{10, 5000}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(NSStringFromCGPoint(c.point));
        const auto found = view->indexPathForItemAtPoint(c.point);
        EXPECT_EQ(found ? std::optional<long>(found->item()) : std::nullopt, c.item);
    }
}

TEST_F(UICollectionViewTest, ScrollingToAnItemPutsItWhereAsked) {
    view->setContentInset(UIEdgeInsetsMake(0, 0, 50, 0));
    struct Case {
        long item;
        unsigned position;
        double offset;
    };
    // Item 100 spans 2 + 25 * 94.25 = 2358.25 to 2450.5; the area above the bottom inset is
    // 403 high; the content ends at 4712.5 + 50, so the offset stops at 4309.5.
    const Case cases[] = {
        {100, UICollectionViewScrollPositionTop, 2358.25},
        {100, UICollectionViewScrollPositionBottom, 2450.5 - 403},
        {100, UICollectionViewScrollPositionCenteredVertically, 2404.375 - 201.5},
        {199, UICollectionViewScrollPositionTop, 4309.5},
        {0, UICollectionViewScrollPositionBottom, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        view->scrollToItemAtIndexPathAtScrollPositionAnimated(
            NSIndexPath::indexPathForItemInSection(c.item, 0), c.position, false);
        EXPECT_DOUBLE_EQ(view->contentOffset().y, c.offset);
        EXPECT_TRUE(cellFor(c.item));
    }
}

TEST_F(UICollectionViewTest, AnUnregisteredIdentifierGivesNoCell) {
    CapturedLog captured;
    grid->identifier = "nobody";
    view->reloadData();
    EXPECT_TRUE(view->visibleCells().empty());
    ASSERT_FALSE(captured.lines().empty());
    EXPECT_EQ(captured.lines().front(),
              "UICollectionView: no cell is registered for the identifier \"nobody\"");
}

} // namespace
