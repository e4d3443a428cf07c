// One endlessly turning column of rows: a scroll view parked in the middle of ten thousand
// rows' worth of content, whose few row views travel with the content and are recycled
// from one end to the other as it scrolls, so that the rows repeat without end. The row
// under the centre line is the selection; a veil covers every other row. Released between
// two rows, the content settles on the row the views are arranged for.
#pragma once

#include "editor/widgets/PEPickerDrumDelegate.h"
#include "platform/uikit/UIScrollViewDelegate.h"
#include "platform/uikit/UIView.h"

#include <memory>

class UIColor;
class UIImage;
class UIImageView;
class UIScrollView;

class PEPickerDrum : public UIView, public UIScrollViewDelegate {
    NS_OBJECT(PEPickerDrum)
public:
    // The scroll range in rows, and the settling animation's length.
    static constexpr long kContentRows = 10000;
    static constexpr double kSnapDuration = 0.25;

    static std::shared_ptr<PEPickerDrum> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PEPickerDrum> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<PEPickerDrumDataSource> dataSource() const { return dataSource_.lock(); }
    // Another object than the one held unloads the drum.
    void setDataSource(const std::shared_ptr<PEPickerDrumDataSource>& dataSource);
    std::shared_ptr<PEPickerDrumDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<PEPickerDrumDelegate>& delegate);
    // The veil's colour; white at half alpha at first. None veils nothing.
    std::shared_ptr<UIColor> foregroundColor() const { return foregroundColor_; }
    void setForegroundColor(std::shared_ptr<UIColor> color) { foregroundColor_ = std::move(color); }

    // Builds the rows again from the data source.
    void reload();
    // Puts `row` under the centre line (wrapped into the rows) and builds the rows around
    // it; `animated` is ignored.
    void selectRowAnimated(long row, bool animated);
    long selectedRow() const { return centerContentIndex_; }
    double rowHeight();
    // The veil: the foreground colour over the whole drum but a clear band across the
    // middle, one row high.
    std::shared_ptr<UIImage> foregroundImage() const;

    // A full rebuild, always.
    void layoutSubviews() override;

    void scrollViewDidScroll(UIScrollView& scrollView) override;
    void scrollViewDidEndDraggingWillDecelerate(UIScrollView& scrollView, bool decelerate) override;
    void scrollViewDidEndDecelerating(UIScrollView& scrollView) override;

    // For tests: how many row views the drum keeps, and which content index the first row
    // is arranged for.
    long viewCount() const { return viewNum_; }
    UIScrollView& scrollView() const { return *scrollView_; }

protected:
    PEPickerDrum();

private:
    enum class Direction { Backwards, Forwards };

    void commonInit();
    void refreshViews();
    // Stores the selection wrapped into the rows, telling the delegate of a new one.
    void setCenterContentIndex(long index);
    // Any content index as a row: wrapped into the rows (itself without rows).
    long rowNumberFromIndex(long index) const;
    long calcViewIndex(long viewIndex, long step) const;
    std::shared_ptr<UIView> viewForIndexReusingView(long index, std::shared_ptr<UIView> view);
    std::string titleForIndex(long index);
    void scrollWithDirection(Direction direction);
    void adjustContentOffset();

    double viewWidth_ = 0;
    double viewHeight_ = 0;
    long viewNum_ = 0;
    long rowNum_ = 0;
    long topContentIndex_ = 0;
    long topViewIndex_ = 0;
    long bottomViewIndex_ = 0;
    long centerContentIndex_ = 0;
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIScrollView> scrollView_;
    bool didLoad_ = false;
    std::weak_ptr<PEPickerDrumDataSource> dataSource_;
    std::weak_ptr<PEPickerDrumDelegate> delegate_;
    std::shared_ptr<UIColor> foregroundColor_;
};
