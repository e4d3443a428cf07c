#include "platform/uikit/UITableView.h"

#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIColor.h"

#include <algorithm>
#include <map>

std::shared_ptr<UITableView> UITableView::initWithFrameStyle(const CGRect& frame,
                                                             UITableViewStyle style) {
    auto view = makeWithFrame<UITableView>(frame);
    view->style_ = style;
    view->setBackgroundColor(UIColor::whiteColor());
    view->setAlwaysBounceVertical(true);
    return view;
}

void UITableView::setDataSource(std::weak_ptr<UITableViewDataSource> dataSource) {
    dataSource_ = std::move(dataSource);
    rowEdges_.reset();
    setNeedsLayout();
}

void UITableView::setDelegate(std::weak_ptr<UITableViewDelegate> delegate) {
    UIScrollView::setDelegate(std::weak_ptr<UIScrollViewDelegate>(delegate.lock()));
    delegate_ = std::move(delegate);
    rowEdges_.reset();
    setNeedsLayout();
}

void UITableView::setRowHeight(CGFloat height) {
    rowHeight_ = height;
    rowEdges_.reset();
    setNeedsLayout();
}

void UITableView::setSeparatorStyle(UITableViewCellSeparatorStyle style) {
    separatorStyle_ = style;
    for (const auto& [indexPath, cell] : cells_.shown()) {
        cell->setShowsSeparator(style == UITableViewCellSeparatorStyle::SingleLine);
    }
}

// Rows

void UITableView::reloadData() {
    selected_.reset();
    cells_.retireAllBut({});
    rowEdges_.reset();
    tileCells();
}

void UITableView::loadRows() {
    if (rowEdges_) {
        return;
    }
    rowEdges_.emplace();
    const auto dataSource = dataSource_.lock();
    if (!dataSource) {
        return;
    }
    const auto delegate = delegate_.lock();
    const long sections = std::max(0L, dataSource->numberOfSectionsInTableView(*this));
    CGFloat position = 0;
    for (long section = 0; section < sections; ++section) {
        const long rows = std::max(0L, dataSource->tableViewNumberOfRowsInSection(*this, section));
        std::vector<CGFloat> edges{position};
        for (long row = 0; row < rows; ++row) {
            const CGFloat height =
                delegate ? delegate->tableViewHeightForRowAtIndexPath(
                               *this, NSIndexPath::indexPathForRowInSection(row, section))
                         : rowHeight_;
            position += std::max<CGFloat>(0, height);
            edges.push_back(position);
        }
        rowEdges_->push_back(std::move(edges));
    }
}

long UITableView::numberOfSections() {
    loadRows();
    return long(rowEdges_->size());
}

long UITableView::numberOfRowsInSection(long section) {
    loadRows();
    if (section < 0 || size_t(section) >= rowEdges_->size()) {
        return 0;
    }
    return long((*rowEdges_)[size_t(section)].size()) - 1;
}

bool UITableView::hasRow(const NSIndexPath& indexPath) {
    return indexPath.row() >= 0 && indexPath.row() < numberOfRowsInSection(indexPath.section());
}

CGRect UITableView::rectForRowAtIndexPath(const NSIndexPath& indexPath) {
    if (!hasRow(indexPath)) {
        return CGRectZero;
    }
    const auto& edges = (*rowEdges_)[size_t(indexPath.section())];
    const CGFloat top = edges[size_t(indexPath.row())];
    return CGRectMake(0, top, bounds().size.width, edges[size_t(indexPath.row()) + 1] - top);
}

std::optional<NSIndexPath> UITableView::indexPathForRowAtPoint(const CGPoint& point) {
    loadRows();
    for (size_t section = 0; section < rowEdges_->size(); ++section) {
        const auto& edges = (*rowEdges_)[section];
        if (point.y < edges.front() || point.y >= edges.back()) {
            continue;
        }
        // The last row starting at or above the point; it reaches below it.
        const auto after = std::upper_bound(edges.begin(), edges.end(), point.y);
        return NSIndexPath::indexPathForRowInSection(long(after - edges.begin()) - 1,
                                                     long(section));
    }
    return std::nullopt;
}

std::shared_ptr<UITableViewCell>
UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
    return cells_.dequeue(identifier);
}

void UITableView::setBounds(const CGRect& bounds) {
    UIScrollView::setBounds(bounds);
    tileCells();
}

void UITableView::layoutSubviews() {
    tileCells();
}

void UITableView::tileCells() {
    // A data source reloading from inside its cell method must not start another pass.
    if (tiling_) {
        return;
    }
    tiling_ = true;
    const auto keepAlive = self<UITableView>();
    loadRows();
    const CGRect visible = bounds();
    const CGFloat bottom = CGRectGetMaxY(visible);
    std::map<NSIndexPath, CGRect> frames;
    for (size_t section = 0; section < rowEdges_->size(); ++section) {
        const auto& edges = (*rowEdges_)[section];
        auto top = std::upper_bound(edges.begin(), edges.end(), CGRectGetMinY(visible));
        if (top != edges.begin()) {
            --top;
        }
        for (auto row = top; row + 1 < edges.end() && *row < bottom; ++row) {
            if (row[1] > CGRectGetMinY(visible) && row[1] > row[0]) {
                frames[NSIndexPath::indexPathForRowInSection(long(row - edges.begin()),
                                                             long(section))] =
                    CGRectMake(0, row[0], visible.size.width, row[1] - row[0]);
            }
        }
    }
    setContentSize(
        CGSizeMake(visible.size.width, rowEdges_->empty() ? 0 : rowEdges_->back().back()));
    const auto dataSource = dataSource_.lock();
    cells_.tile(
        *this, frames, [&](const NSIndexPath& indexPath) -> std::shared_ptr<UITableViewCell> {
            if (!dataSource) {
                return nullptr;
            }
            auto cell = dataSource->tableViewCellForRowAtIndexPath(*this, indexPath);
            if (!cell) {
                NSLog("UITableView: the data source gave no cell for row %@",
                      indexPath.description());
                return nullptr;
            }
            cell->setShowsSeparator(separatorStyle_ == UITableViewCellSeparatorStyle::SingleLine);
            cell->setSelected(selected_ == indexPath);
            return cell;
        });
    tiling_ = false;
}

std::shared_ptr<UITableViewCell>
UITableView::cellForRowAtIndexPath(const NSIndexPath& indexPath) const {
    return cells_.cellAt(indexPath);
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells() const {
    std::vector<std::shared_ptr<UITableViewCell>> cells;
    for (const auto& [indexPath, cell] : cells_.shown()) {
        cells.push_back(cell);
    }
    return cells;
}

// Selection

void UITableView::selectOnly(const NSIndexPath& indexPath) {
    if (selected_ && *selected_ != indexPath) {
        if (const auto cell = cells_.cellAt(*selected_)) {
            cell->setSelected(false);
        }
    }
    selected_ = indexPath;
    if (const auto cell = cells_.cellAt(indexPath)) {
        cell->setSelected(true);
    }
}

void UITableView::selectRowAtIndexPathAnimatedScrollPosition(
    const NSIndexPath& indexPath, bool animated, UITableViewScrollPosition scrollPosition) {
    if (!hasRow(indexPath)) {
        return;
    }
    selectOnly(indexPath);
    const auto placement = [scrollPosition] {
        switch (scrollPosition) {
        case UITableViewScrollPosition::Top:
            return Placement::Start;
        case UITableViewScrollPosition::Middle:
            return Placement::Centre;
        case UITableViewScrollPosition::Bottom:
            return Placement::End;
        case UITableViewScrollPosition::None:
            break;
        }
        return Placement::Unchanged;
    }();
    if (placement != Placement::Unchanged) {
        setContentOffsetAnimated(contentOffsetPlacingRect(rectForRowAtIndexPath(indexPath),
                                                          Placement::Unchanged, placement),
                                 animated);
    }
}

void UITableView::deselectRowAtIndexPathAnimated(const NSIndexPath& indexPath, bool) {
    if (selected_ != indexPath) {
        return;
    }
    selected_.reset();
    if (const auto cell = cells_.cellAt(indexPath)) {
        cell->setSelected(false);
    }
}

// Taps

ReusableCellSet<UITableViewCell>::Locate UITableView::rowUnderTouch() {
    return
        [this](const UITouch& touch) { return indexPathForRowAtPoint(touch.locationInView(this)); };
}

void UITableView::touchesBeganWithEvent(const UITouchSet& touches, const UIEvent*) {
    cells_.touchesBegan(touches, rowUnderTouch());
}

void UITableView::touchesEndedWithEvent(const UITouchSet& touches, const UIEvent*) {
    if (const auto tapped = cells_.touchesEnded(touches, rowUnderTouch())) {
        selectFromTap(*tapped);
    }
}

void UITableView::touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent*) {
    cells_.touchesCancelled(touches);
}

void UITableView::selectFromTap(const NSIndexPath& indexPath) {
    const auto keepAlive = self<UITableView>();
    selectOnly(indexPath);
    if (const auto delegate = delegate_.lock()) {
        delegate->tableViewDidSelectRowAtIndexPath(*this, indexPath);
    }
}
