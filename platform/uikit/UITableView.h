// A scroll view showing rows one under the other, section after section (the plain style,
// without section headers), each row a cell that the data source sets up. Only the rows
// overlapping the visible bounds have cells, as subviews; cells leaving the bounds are put
// aside and handed out again by dequeueReusableCellWithIdentifier (prepareForReuse first).
// A tap on a row selects it (one row at a time) and tells the delegate; a drag scrolls and
// selects nothing. Separators are drawn along the bottom of every row.
//
// As on the platform, it bounces vertically by default, so a drag on a short table is a
// drag and not a tap. Rows are loaded by reloadData, by layout, and as the view scrolls or
// changes size; the counts and heights are read then, and kept until the next reload.
#pragma once

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/ReusableCellSet.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"

#include <optional>
#include <string>
#include <vector>

enum class UITableViewStyle { Plain };
enum class UITableViewCellSeparatorStyle { None, SingleLine };
// Where selecting a row in code scrolls it to, in the area inside the content insets.
enum class UITableViewScrollPosition { None, Top, Middle, Bottom };

class UITableView : public UIScrollView {
    NS_OBJECT(UITableView)
public:
    static constexpr CGFloat kDefaultRowHeight = 44;

    // White, single-line separators, rows 44 points high.
    static std::shared_ptr<UITableView> initWithFrameStyle(const CGRect& frame,
                                                           UITableViewStyle style);
    static std::shared_ptr<UITableView> alloc() {
        return initWithFrameStyle(CGRectZero, UITableViewStyle::Plain);
    }

    UITableViewStyle style() const { return style_; }
    std::shared_ptr<UITableViewDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(std::weak_ptr<UITableViewDataSource> dataSource);
    // Also the scroll view's delegate.
    std::shared_ptr<UITableViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UITableViewDelegate> delegate);

    // Of the rows whose delegate does not tell their height.
    CGFloat rowHeight() const { return rowHeight_; }
    void setRowHeight(CGFloat height);
    UITableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(UITableViewCellSeparatorStyle style);

    // Reads the counts and heights again, clears the selection, puts every cell aside and
    // loads the visible rows afresh.
    void reloadData();
    long numberOfSections();
    // 0 for a section it does not have.
    long numberOfRowsInSection(long section);

    // A cell put aside under the identifier (prepared for reuse), or null when none is.
    std::shared_ptr<UITableViewCell>
    dequeueReusableCellWithIdentifier(const std::string& identifier);
    // The cell of a visible row, else null.
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const NSIndexPath& indexPath) const;
    // In index path order.
    std::vector<std::shared_ptr<UITableViewCell>> visibleCells() const;
    // The row at the point (content coordinates), if any.
    std::optional<NSIndexPath> indexPathForRowAtPoint(const CGPoint& point);
    // Content coordinates; empty for a row it does not have.
    CGRect rectForRowAtIndexPath(const NSIndexPath& indexPath);

    // Selecting in code tells the delegate nothing; the row becomes the only one selected.
    void selectRowAtIndexPathAnimatedScrollPosition(const NSIndexPath& indexPath, bool animated,
                                                    UITableViewScrollPosition scrollPosition);
    void deselectRowAtIndexPathAnimated(const NSIndexPath& indexPath, bool animated);
    std::optional<NSIndexPath> indexPathForSelectedRow() const { return selected_; }

    void setBounds(const CGRect& bounds) override;
    void layoutSubviews() override;
    // Taps on rows; touches do not go further up the chain.
    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override {}
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) override;

protected:
    UITableView() = default;

private:
    // Reads the counts and heights when they are not known.
    void loadRows();
    // Shows cells for exactly the rows overlapping the bounds.
    void tileCells();
    bool hasRow(const NSIndexPath& indexPath);
    void selectOnly(const NSIndexPath& indexPath);
    void selectFromTap(const NSIndexPath& indexPath);
    ReusableCellSet<UITableViewCell>::Locate rowUnderTouch();

    UITableViewStyle style_ = UITableViewStyle::Plain;
    std::weak_ptr<UITableViewDataSource> dataSource_;
    std::weak_ptr<UITableViewDelegate> delegate_;
    CGFloat rowHeight_ = kDefaultRowHeight;
    UITableViewCellSeparatorStyle separatorStyle_ = UITableViewCellSeparatorStyle::SingleLine;
    ReusableCellSet<UITableViewCell> cells_;
    std::optional<NSIndexPath> selected_;
    // Per section, the top of each row and, last, the section's end; read when needed.
    std::optional<std::vector<std::vector<CGFloat>>> rowEdges_;
    bool tiling_ = false;
};
