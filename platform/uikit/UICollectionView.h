// A scroll view showing items in sections, placed by a layout, each item a cell that the
// data source sets up. Only the items whose frames overlap the visible bounds have cells,
// as subviews; as the view scrolls, cells leaving the bounds are put aside and handed out
// again for the items coming in (prepareForReuse first). A tap on an item selects it (one
// item at a time); a drag scrolls and selects nothing.
//
// Cells are registered per reuse identifier as a factory making a cell of a frame, since
// there are no class objects: registerClassForCellWithReuseIdentifier<MyCell>("id") uses
// MyCell::initWithFrame. Cells are loaded by reloadData, by layout, and as the view
// scrolls or changes size; the item counts are read from the data source then, and kept
// until the next reload.
#pragma once

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/ReusableCellSet.h"
#include "platform/uikit/UICollectionViewCell.h"
#include "platform/uikit/UICollectionViewDataSource.h"
#include "platform/uikit/UICollectionViewDelegate.h"
#include "platform/uikit/UIScrollView.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

class UICollectionViewLayout;
class UICollectionViewLayoutAttributes;

// Where scrolling to an item puts it; one vertical and one horizontal position may be
// combined.
enum UICollectionViewScrollPosition : unsigned {
    UICollectionViewScrollPositionNone = 0,
    UICollectionViewScrollPositionTop = 1u << 0,
    UICollectionViewScrollPositionCenteredVertically = 1u << 1,
    UICollectionViewScrollPositionBottom = 1u << 2,
    UICollectionViewScrollPositionLeft = 1u << 3,
    UICollectionViewScrollPositionCenteredHorizontally = 1u << 4,
    UICollectionViewScrollPositionRight = 1u << 5,
};

class UICollectionView : public UIScrollView {
    NS_OBJECT(UICollectionView)
public:
    using CellFactory = std::function<std::shared_ptr<UICollectionViewCell>(const CGRect& frame)>;

    static std::shared_ptr<UICollectionView>
    initWithFrameCollectionViewLayout(const CGRect& frame,
                                      std::shared_ptr<UICollectionViewLayout> layout);
    static std::shared_ptr<UICollectionView> alloc() {
        return initWithFrameCollectionViewLayout(CGRectZero, nullptr);
    }

    std::shared_ptr<UICollectionViewLayout> collectionViewLayout() const { return layout_; }

    std::shared_ptr<UICollectionViewDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(std::weak_ptr<UICollectionViewDataSource> dataSource);
    // Also the scroll view's delegate.
    std::shared_ptr<UICollectionViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UICollectionViewDelegate> delegate);

    // Cells for the identifier come from the factory (a later registration replaces it).
    void registerClassForCellWithReuseIdentifier(CellFactory factory,
                                                 const std::string& identifier);
    template <class Cell>
    void registerClassForCellWithReuseIdentifier(const std::string& identifier) {
        static_assert(
            std::is_same_v<decltype(Cell::initWithFrame(CGRect{})), std::shared_ptr<Cell>>,
            "the cell class needs an initWithFrame of its own");
        registerClassForCellWithReuseIdentifier(
            [](const CGRect& frame) -> std::shared_ptr<UICollectionViewCell> {
                return Cell::initWithFrame(frame);
            },
            identifier);
    }
    // A cell put aside under the identifier (prepared for reuse), or a new one from its
    // factory, with the item's frame. Null, with a log line, for an identifier nobody
    // registered.
    std::shared_ptr<UICollectionViewCell>
    dequeueReusableCellWithReuseIdentifierForIndexPath(const std::string& identifier,
                                                       const NSIndexPath& indexPath);

    // Reads the counts again, clears the selection, puts every cell aside and loads the
    // visible items afresh.
    void reloadData();
    long numberOfSections();
    // 0 for a section it does not have.
    long numberOfItemsInSection(long section);

    // The cell of a visible item, else null.
    std::shared_ptr<UICollectionViewCell>
    cellForItemAtIndexPath(const NSIndexPath& indexPath) const;
    // In index path order.
    std::vector<std::shared_ptr<UICollectionViewCell>> visibleCells() const;
    std::vector<NSIndexPath> indexPathsForVisibleItems() const;
    // The item whose frame holds the point (content coordinates), if any.
    std::optional<NSIndexPath> indexPathForItemAtPoint(const CGPoint& point);
    // Null for an item it does not have.
    std::shared_ptr<UICollectionViewLayoutAttributes>
    layoutAttributesForItemAtIndexPath(const NSIndexPath& indexPath);

    // Selecting in code tells the delegate nothing; the item becomes the only one selected.
    // `scrollPosition` (UICollectionViewScrollPosition) other than None also scrolls to it.
    void selectItemAtIndexPathAnimatedScrollPosition(const NSIndexPath& indexPath, bool animated,
                                                     unsigned scrollPosition);
    void deselectItemAtIndexPathAnimated(const NSIndexPath& indexPath, bool animated);
    std::vector<NSIndexPath> indexPathsForSelectedItems() const;
    // Puts the item where asked in the area inside the content insets, as far as the
    // content allows; an axis without a position does not move.
    void scrollToItemAtIndexPathAtScrollPositionAnimated(const NSIndexPath& indexPath,
                                                         unsigned scrollPosition, bool animated);

    void setBounds(const CGRect& bounds) override;
    void layoutSubviews() override;
    // Taps on items; touches do not go further up the chain.
    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override {}
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) override;

protected:
    UICollectionView() = default;

private:
    friend class UICollectionViewLayout;

    void layoutInvalidated();
    void loadCounts();
    void prepareLayoutIfNeeded();
    // Shows cells for exactly the items overlapping the bounds.
    void tileCells();
    bool hasItem(const NSIndexPath& indexPath);
    void selectOnly(const NSIndexPath& indexPath);
    void selectFromTap(const NSIndexPath& indexPath);
    ReusableCellSet<UICollectionViewCell>::Locate itemUnderTouch();

    std::shared_ptr<UICollectionViewLayout> layout_;
    std::weak_ptr<UICollectionViewDataSource> dataSource_;
    std::weak_ptr<UICollectionViewDelegate> delegate_;
    std::map<std::string, CellFactory> factories_;
    ReusableCellSet<UICollectionViewCell> cells_;
    std::set<NSIndexPath> selected_;
    // The counts read from the data source, when read.
    std::optional<std::vector<long>> itemCounts_;
    // What the layout was last prepared for.
    bool layoutPrepared_ = false;
    CGSize preparedSize_{};
    UIEdgeInsets preparedInset_{};
    bool tiling_ = false;
};
