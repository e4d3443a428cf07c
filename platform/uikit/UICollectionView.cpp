#include "platform/uikit/UICollectionView.h"

#include "platform/foundation/NSLog.h"
#include "platform/uikit/UICollectionViewLayout.h"
#include "platform/uikit/UICollectionViewLayoutAttributes.h"

#include <algorithm>

std::shared_ptr<UICollectionView> UICollectionView::initWithFrameCollectionViewLayout(
    const CGRect& frame, std::shared_ptr<UICollectionViewLayout> layout) {
    auto view = makeWithFrame<UICollectionView>(frame);
    if (layout) {
        layout->collectionView_ = view;
    }
    view->layout_ = std::move(layout);
    return view;
}

void UICollectionView::setDataSource(std::weak_ptr<UICollectionViewDataSource> dataSource) {
    dataSource_ = std::move(dataSource);
    itemCounts_.reset();
    setNeedsLayout();
}

void UICollectionView::setDelegate(std::weak_ptr<UICollectionViewDelegate> delegate) {
    UIScrollView::setDelegate(std::weak_ptr<UIScrollViewDelegate>(delegate.lock()));
    delegate_ = std::move(delegate);
}

// Cells

void UICollectionView::registerClassForCellWithReuseIdentifier(CellFactory factory,
                                                               const std::string& identifier) {
    if (factory) {
        factories_[identifier] = std::move(factory);
    } else {
        factories_.erase(identifier);
    }
}

std::shared_ptr<UICollectionViewCell>
UICollectionView::dequeueReusableCellWithReuseIdentifierForIndexPath(const std::string& identifier,
                                                                     const NSIndexPath& indexPath) {
    const auto attributes = layoutAttributesForItemAtIndexPath(indexPath);
    const CGRect frame = attributes ? attributes->frame() : CGRectZero;
    auto cell = cells_.dequeue(identifier);
    if (!cell) {
        const auto factory = factories_.find(identifier);
        if (factory == factories_.end()) {
            NSLog("UICollectionView: no cell is registered for the identifier \"%@\"", identifier);
            return nullptr;
        }
        cell = factory->second(frame);
        if (!cell) {
            NSLog("UICollectionView: the cell factory for \"%@\" made no cell", identifier);
            return nullptr;
        }
        cell->reuseIdentifier_ = identifier;
    }
    cell->setFrame(frame);
    return cell;
}

// Data and layout

void UICollectionView::reloadData() {
    selected_.clear();
    cells_.retireAllBut({});
    itemCounts_.reset();
    tileCells();
}

void UICollectionView::loadCounts() {
    if (itemCounts_) {
        return;
    }
    itemCounts_.emplace();
    layoutPrepared_ = false;
    const auto dataSource = dataSource_.lock();
    if (!dataSource) {
        return;
    }
    const long sections = std::max(0L, dataSource->numberOfSectionsInCollectionView(*this));
    for (long section = 0; section < sections; ++section) {
        itemCounts_->push_back(
            std::max(0L, dataSource->collectionViewNumberOfItemsInSection(*this, section)));
    }
}

long UICollectionView::numberOfSections() {
    loadCounts();
    return long(itemCounts_->size());
}

long UICollectionView::numberOfItemsInSection(long section) {
    loadCounts();
    return section >= 0 && size_t(section) < itemCounts_->size() ? (*itemCounts_)[size_t(section)]
                                                                 : 0;
}

bool UICollectionView::hasItem(const NSIndexPath& indexPath) {
    return indexPath.item() >= 0 && indexPath.item() < numberOfItemsInSection(indexPath.section());
}

void UICollectionView::layoutInvalidated() {
    layoutPrepared_ = false;
    setNeedsLayout();
}

void UICollectionView::prepareLayoutIfNeeded() {
    loadCounts();
    if (layoutPrepared_ && preparedSize_ == bounds().size && preparedInset_ == contentInset()) {
        return;
    }
    layoutPrepared_ = true;
    preparedSize_ = bounds().size;
    preparedInset_ = contentInset();
    if (layout_) {
        layout_->prepareLayout();
        setContentSize(layout_->collectionViewContentSize());
    }
}

std::shared_ptr<UICollectionViewLayoutAttributes>
UICollectionView::layoutAttributesForItemAtIndexPath(const NSIndexPath& indexPath) {
    prepareLayoutIfNeeded();
    return layout_ ? layout_->layoutAttributesForItemAtIndexPath(indexPath) : nullptr;
}

std::optional<NSIndexPath> UICollectionView::indexPathForItemAtPoint(const CGPoint& point) {
    prepareLayoutIfNeeded();
    if (!layout_) {
        return std::nullopt;
    }
    for (const auto& attributes :
         layout_->layoutAttributesForElementsInRect(CGRectMake(point.x, point.y, 1, 1))) {
        if (CGRectContainsPoint(attributes->frame(), point)) {
            return attributes->indexPath();
        }
    }
    return std::nullopt;
}

void UICollectionView::setBounds(const CGRect& bounds) {
    UIScrollView::setBounds(bounds);
    tileCells();
}

void UICollectionView::layoutSubviews() {
    tileCells();
}

void UICollectionView::tileCells() {
    // A data source reloading from inside its cell method must not start another pass.
    if (tiling_) {
        return;
    }
    tiling_ = true;
    const auto keepAlive = self<UICollectionView>();
    prepareLayoutIfNeeded();
    std::map<NSIndexPath, CGRect> frames;
    if (layout_) {
        for (const auto& attributes : layout_->layoutAttributesForElementsInRect(this->bounds())) {
            frames[attributes->indexPath()] = attributes->frame();
        }
    }
    const auto dataSource = dataSource_.lock();
    cells_.tile(*this, frames,
                [&](const NSIndexPath& indexPath) -> std::shared_ptr<UICollectionViewCell> {
                    if (!dataSource) {
                        return nullptr;
                    }
                    auto cell = dataSource->collectionViewCellForItemAtIndexPath(*this, indexPath);
                    if (!cell) {
                        NSLog("UICollectionView: the data source gave no cell for item %@",
                              indexPath.description());
                        return nullptr;
                    }
                    cell->setSelected(selected_.contains(indexPath));
                    return cell;
                });
    tiling_ = false;
}

std::shared_ptr<UICollectionViewCell>
UICollectionView::cellForItemAtIndexPath(const NSIndexPath& indexPath) const {
    return cells_.cellAt(indexPath);
}

std::vector<std::shared_ptr<UICollectionViewCell>> UICollectionView::visibleCells() const {
    std::vector<std::shared_ptr<UICollectionViewCell>> cells;
    for (const auto& [indexPath, cell] : cells_.shown()) {
        cells.push_back(cell);
    }
    return cells;
}

std::vector<NSIndexPath> UICollectionView::indexPathsForVisibleItems() const {
    std::vector<NSIndexPath> indexPaths;
    for (const auto& [indexPath, cell] : cells_.shown()) {
        indexPaths.push_back(indexPath);
    }
    return indexPaths;
}

// Selection

void UICollectionView::selectOnly(const NSIndexPath& indexPath) {
    for (const auto& other : selected_) {
        if (const auto cell = cells_.cellAt(other); cell && other != indexPath) {
            cell->setSelected(false);
        }
    }
    selected_ = {indexPath};
    if (const auto cell = cells_.cellAt(indexPath)) {
        cell->setSelected(true);
    }
}

void UICollectionView::selectItemAtIndexPathAnimatedScrollPosition(const NSIndexPath& indexPath,
                                                                   bool animated,
                                                                   unsigned scrollPosition) {
    if (!hasItem(indexPath)) {
        return;
    }
    selectOnly(indexPath);
    if (scrollPosition != UICollectionViewScrollPositionNone) {
        scrollToItemAtIndexPathAtScrollPositionAnimated(indexPath, scrollPosition, animated);
    }
}

void UICollectionView::deselectItemAtIndexPathAnimated(const NSIndexPath& indexPath, bool) {
    if (selected_.erase(indexPath) == 0) {
        return;
    }
    if (const auto cell = cells_.cellAt(indexPath)) {
        cell->setSelected(false);
    }
}

std::vector<NSIndexPath> UICollectionView::indexPathsForSelectedItems() const {
    return {selected_.begin(), selected_.end()};
}

void UICollectionView::scrollToItemAtIndexPathAtScrollPositionAnimated(const NSIndexPath& indexPath,
                                                                       unsigned scrollPosition,
                                                                       bool animated) {
    const auto attributes = layoutAttributesForItemAtIndexPath(indexPath);
    if (!attributes) {
        return;
    }
    const auto placement = [scrollPosition](unsigned start, unsigned centre, unsigned end) {
        return scrollPosition & start    ? Placement::Start
               : scrollPosition & centre ? Placement::Centre
               : scrollPosition & end    ? Placement::End
                                         : Placement::Unchanged;
    };
    const CGPoint offset =
        contentOffsetPlacingRect(attributes->frame(),
                                 placement(UICollectionViewScrollPositionLeft,
                                           UICollectionViewScrollPositionCenteredHorizontally,
                                           UICollectionViewScrollPositionRight),
                                 placement(UICollectionViewScrollPositionTop,
                                           UICollectionViewScrollPositionCenteredVertically,
                                           UICollectionViewScrollPositionBottom));
    setContentOffsetAnimated(offset, animated);
}

// Taps

ReusableCellSet<UICollectionViewCell>::Locate UICollectionView::itemUnderTouch() {
    return [this](const UITouch& touch) {
        return indexPathForItemAtPoint(touch.locationInView(this));
    };
}

void UICollectionView::touchesBeganWithEvent(const UITouchSet& touches, const UIEvent*) {
    cells_.touchesBegan(touches, itemUnderTouch());
}

void UICollectionView::touchesEndedWithEvent(const UITouchSet& touches, const UIEvent*) {
    if (const auto tapped = cells_.touchesEnded(touches, itemUnderTouch())) {
        selectFromTap(*tapped);
    }
}

void UICollectionView::touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent*) {
    cells_.touchesCancelled(touches);
}

void UICollectionView::selectFromTap(const NSIndexPath& indexPath) {
    const auto keepAlive = self<UICollectionView>();
    const auto delegate = delegate_.lock();
    if (delegate && !delegate->collectionViewShouldSelectItemAtIndexPath(*this, indexPath)) {
        return;
    }
    selectOnly(indexPath);
    if (delegate) {
        delegate->collectionViewDidSelectItemAtIndexPath(*this, indexPath);
    }
}
