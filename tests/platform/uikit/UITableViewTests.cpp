// Table views under real touches and mock time: rows stacked by height, cells only for
// visible rows, reuse through the old dequeue form without leaking a row's content,
// selection by taps (not drags), rows found by their title, and how rows are drawn.
#include "harness/TouchInjector.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/platform/uikit/TouchFixture.h"

#include <map>

namespace {

using Log = std::vector<std::string>;

// Rows titled "Row N" in each section; a row's height may be given; a few rows carry an
// accessory or an image that no other row sets.
class Rows : public UITableViewDataSource, public UITableViewDelegate {
public:
    long numberOfSectionsInTableView(UITableView&) override { return long(counts.size()); }
    long tableViewNumberOfRowsInSection(UITableView&, long section) override {
        return counts[size_t(section)];
    }
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(UITableView& table, const NSIndexPath& path) override {
        auto cell = table.dequeueReusableCellWithIdentifier("row");
        if (!cell) {
            cell =
                UITableViewCell::initWithStyleReuseIdentifier(UITableViewCellStyle::Default, "row");
            ++made;
        }
        if (path.row() < titledBelow) {
            cell->textLabel()->setText("Row " + std::to_string(path.row()));
        }
        if (path.row() == 3) {
            cell->setAccessoryType(UITableViewCellAccessoryType::Checkmark);
            cell->imageView()->setImage(icon);
        }
        return cell;
    }
    CGFloat tableViewHeightForRowAtIndexPath(UITableView& table, const NSIndexPath& path) override {
        const auto found = heights.find(path.row());
        return found == heights.end()
                   ? UITableViewDelegate::tableViewHeightForRowAtIndexPath(table, path)
                   : found->second;
    }
    void tableViewDidSelectRowAtIndexPath(UITableView&, const NSIndexPath& path) override {
        log.push_back("select " + std::to_string(path.section()) + "." +
                      std::to_string(path.row()));
    }

    std::vector<long> counts{100};
    std::shared_ptr<UIImage> icon = [] {
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(20, 20), false, 1);
        auto image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return image;
    }();
    long titledBelow = 1000;
    std::map<long, CGFloat> heights;
    int made = 0;
    Log log;
};

class UITableViewTest : public TouchTest {
protected:
    UITableViewTest() {
        table =
            UITableView::initWithFrameStyle(CGRectMake(0, 0, 320, 300), UITableViewStyle::Plain);
        table->setDataSource(rows);
        table->setDelegate(rows);
        root->addSubview(table);
        table->reloadData();
    }
    std::shared_ptr<UITableViewCell> cellFor(long row, long section = 0) {
        return table->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, section));
    }
    std::vector<long> visibleRows() {
        std::vector<long> visible;
        for (long row = 0; row < table->numberOfRowsInSection(0); ++row) {
            if (cellFor(row)) {
                visible.push_back(row);
            }
        }
        return visible;
    }
    CGPoint centreOfRow(long row) {
        const CGRect rect = table->convertRectToView(
            table->rectForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, 0)), nullptr);
        return CGPointMake(CGRectGetMidX(rect), CGRectGetMidY(rect));
    }

    std::shared_ptr<Rows> rows = std::make_shared<Rows>();
    std::shared_ptr<UITableView> table;
};

TEST_F(UITableViewTest, RowsAreStackedAndOnlyVisibleRowsHaveCells) {
    EXPECT_EQ(table->rowHeight(), 44);
    EXPECT_EQ(table->contentSize(), CGSizeMake(320, 4400));
    // 300 points show rows 0 to 6, the last one cut.
    EXPECT_EQ(visibleRows(), (std::vector<long>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(cellFor(6)->frame(), CGRectMake(0, 264, 320, 44));
    EXPECT_EQ(cellFor(6)->superview(), table);
    EXPECT_EQ(table->visibleCells().size(), 7u);

    table->setContentOffset(CGPointMake(0, 1000));
    // 1000 to 1300: rows 22 (968 to 1012) to 29 (1276 to 1320).
    EXPECT_EQ(visibleRows(), (std::vector<long>{22, 23, 24, 25, 26, 27, 28, 29}));
    EXPECT_EQ(cellFor(22)->textLabel()->text(), "Row 22");
    EXPECT_EQ(table->subviews().size(), 8u);
}

TEST_F(UITableViewTest, HeightsAndSectionsPlaceTheRows) {
    rows->counts = {2, 0, 3};
    rows->heights = {{0, 30}, {1, 60}};
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(table->numberOfRowsInSection(2), 3);
    EXPECT_EQ(table->numberOfRowsInSection(3), 0);
    struct Case {
        NSIndexPath path;
        CGRect rect;
    };
    const Case cases[] = {
        {NSIndexPath::indexPathForRowInSection(1, 0), CGRectMake(0, 30, 320, 60)},
        {NSIndexPath::indexPathForRowInSection(0, 2), CGRectMake(0, 90, 320, 30)},
        {NSIndexPath::indexPathForRowInSection(2, 2), CGRectMake(0, 180, 320, 44)},
        {NSIndexPath::indexPathForRowInSection(3, 2), CGRectZero},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.description());
        EXPECT_EQ(table->rectForRowAtIndexPath(c.path), c.rect);
    }
    EXPECT_EQ(table->indexPathForRowAtPoint(CGPointMake(10, 89.5)),
              NSIndexPath::indexPathForRowInSection(1, 0));
    EXPECT_EQ(table->indexPathForRowAtPoint(CGPointMake(10, 90)),
              NSIndexPath::indexPathForRowInSection(0, 2));
    EXPECT_EQ(table->indexPathForRowAtPoint(CGPointMake(10, 224)), std::nullopt);
    EXPECT_EQ(table->contentSize().height, 224);
}

TEST_F(UITableViewTest, ReusedCellsShowOnlyWhatTheirNewRowSets) {
    // The old form: nothing is free before any row has left the screen.
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("row"), nullptr);
    EXPECT_EQ(rows->made, 7);
    rows->titledBelow = 10;
    const auto third = cellFor(3);
    EXPECT_EQ(third->accessoryType(), UITableViewCellAccessoryType::Checkmark);

    for (double y = 0; y <= 1800; y += 15) {
        table->setContentOffset(CGPointMake(0, y));
    }
    EXPECT_LE(rows->made, 8);
    EXPECT_EQ(third->superview(), table); // reused for a row down here
    for (const auto& cell : table->visibleCells()) {
        EXPECT_EQ(cell->textLabel()->text(), "");
        EXPECT_EQ(cell->imageView()->image(), nullptr);
        EXPECT_EQ(cell->accessoryType(), UITableViewCellAccessoryType::None);
    }
}

TEST_F(UITableViewTest, ATapSelectsARowADragDoesNot) {
    TouchInjector::tapAt(centreOfRow(2));
    EXPECT_EQ(rows->log, (Log{"select 0.2"}));
    EXPECT_EQ(table->indexPathForSelectedRow(), NSIndexPath::indexPathForRowInSection(2, 0));
    EXPECT_TRUE(cellFor(2)->isSelected());

    TouchInjector::tapAt(centreOfRow(4));
    EXPECT_FALSE(cellFor(2)->isSelected());
    EXPECT_TRUE(cellFor(4)->isSelected());
    table->deselectRowAtIndexPathAnimated(NSIndexPath::indexPathForRowInSection(4, 0), false);
    EXPECT_FALSE(cellFor(4)->isSelected());
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);

    rows->log.clear();
    TouchInjector::drag(centreOfRow(5), centreOfRow(1), 0.3);
    EXPECT_TRUE(rows->log.empty());
    EXPECT_EQ(table->contentOffset().y, 176);
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
}

TEST_F(UITableViewTest, ARowIsFoundAndTappedByItsTitle) {
    const auto found = TouchInjector::viewsWithLabel(window, "Row 3");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], cellFor(3));
    TouchInjector::tapAt(TouchInjector::tapPointOfView(*found[0]));
    EXPECT_EQ(rows->log, (Log{"select 0.3"}));
    // A row scrolled away has no cell to find.
    EXPECT_TRUE(TouchInjector::viewsWithLabel(window, "Row 40").empty());
}

TEST_F(UITableViewTest, SelectingInCodeCanScrollTheRowIntoView) {
    struct Case {
        UITableViewScrollPosition position;
        double offset;
    };
    // Row 50 spans 2200 to 2244 in a 300-point view.
    const Case cases[] = {
        {UITableViewScrollPosition::None, 0},
        {UITableViewScrollPosition::Top, 2200},
        {UITableViewScrollPosition::Middle, 2222 - 150},
        {UITableViewScrollPosition::Bottom, 2244 - 300},
    };
    for (const auto& c : cases) {
        table->setContentOffset(CGPointZero);
        table->selectRowAtIndexPathAnimatedScrollPosition(
            NSIndexPath::indexPathForRowInSection(50, 0), false, c.position);
        EXPECT_EQ(table->contentOffset().y, c.offset);
    }
    EXPECT_TRUE(rows->log.empty());
    EXPECT_TRUE(cellFor(50)->isSelected());
    table->reloadData();
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
}

TEST_F(UITableViewTest, RowsDrawSeparatorsSelectionAndAccessories) {
    window->setBackgroundColor(UIColor::whiteColor());
    rows->counts = {5};
    table->reloadData();
    table->selectRowAtIndexPathAnimatedScrollPosition(NSIndexPath::indexPathForRowInSection(1, 0),
                                                      false, UITableViewScrollPosition::None);
    const uint32_t white = 0xffffffff, separator = 0xffc8c7cc, selection = 0xffd9d9d9;
    auto shot = ViewRenderer::snapshotWindow(*window, 2);
    const auto pixel = [&shot](double x, double y) {
        return shot->cgImage()->pixelAt(size_t(x * 2), size_t(y * 2));
    };
    // A hairline along the bottom of each row, from the 15-point margin on.
    EXPECT_EQ(pixel(20, 43.5), separator);
    EXPECT_EQ(pixel(10, 43.5), white);
    EXPECT_EQ(pixel(20, 43), white);
    // The selected row is grey; the others white.
    EXPECT_EQ(pixel(200, 60), selection);
    EXPECT_EQ(pixel(200, 100), white);
    // Row 3's check mark near its right edge.
    const double middle = 3 * 44 + 21.75;
    EXPECT_NE(pixel(304.5, middle - 5.5), white);

    table->setSeparatorStyle(UITableViewCellSeparatorStyle::None);
    table->layoutIfNeeded();
    shot = ViewRenderer::snapshotWindow(*window, 2);
    EXPECT_EQ(pixel(20, 43.5), white);
}

} // namespace
