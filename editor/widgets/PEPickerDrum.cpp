#include "editor/widgets/PEPickerDrum.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIViewAnimation.h"

#include <cmath>
#include <cstdlib>

namespace {
// The remainder that never goes negative: rows and ring slots count from 0 however far
// below zero an index runs.
long wrap(long value, long count) {
    const long remainder = value % count;
    return remainder < 0 ? remainder + count : remainder;
}
} // namespace

PEPickerDrum::PEPickerDrum() = default;

std::shared_ptr<PEPickerDrum> PEPickerDrum::initWithFrame(const CGRect& frame) {
    auto drum = make<PEPickerDrum>();
    drum->setFrame(frame);
    drum->commonInit();
    return drum;
}

void PEPickerDrum::commonInit() {
    didLoad_ = false;
    centerContentIndex_ = 0;
    foregroundColor_ = UIColor::colorWithWhiteAlpha(1, 0.5);
    const unsigned flexible = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;
    imageView_ = UIImageView::initWithFrame(bounds());
    imageView_->setAutoresizingMask(flexible);
    addSubview(imageView_);
    scrollView_ = UIScrollView::initWithFrame(bounds());
    scrollView_->setAutoresizingMask(flexible);
    scrollView_->setShowsHorizontalScrollIndicator(false);
    scrollView_->setShowsVerticalScrollIndicator(false);
    scrollView_->setPagingEnabled(false);
    scrollView_->setDelegate(self<PEPickerDrum>());
    // Under the veil, which takes no touches.
    insertSubviewAtIndex(scrollView_, 0);
}

void PEPickerDrum::setDataSource(const std::shared_ptr<PEPickerDrumDataSource>& dataSource) {
    if (dataSource != dataSource_.lock()) {
        didLoad_ = false;
    }
    dataSource_ = dataSource;
}

void PEPickerDrum::setDelegate(const std::shared_ptr<PEPickerDrumDelegate>& delegate) {
    if (delegate != delegate_.lock()) {
        didLoad_ = false;
    }
    delegate_ = delegate;
}

void PEPickerDrum::reload() {
    didLoad_ = false;
    layoutSubviews();
}

void PEPickerDrum::selectRowAnimated(long row, bool) {
    centerContentIndex_ = row;
    if (!didLoad_) {
        layoutSubviews();
    } else {
        didLoad_ = false;
        refreshViews();
    }
}

double PEPickerDrum::rowHeight() {
    if (const auto delegate = delegate_.lock()) {
        if (const auto height = delegate->rowHeightInPickerDrum(*this)) {
            return *height;
        }
    }
    return std::ceil(bounds().size.height / 3);
}

std::shared_ptr<UIImage> PEPickerDrum::foregroundImage() const {
    const CGSize size = frame().size;
    if (!foregroundColor_ || size.width <= 0 || size.height <= 0) {
        return nullptr;
    }
    UIGraphicsBeginImageContextWithOptions(size, false, UIScreen::mainScreen()->scale());
    const CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetFillColorWithColor(context, foregroundColor_->cgColor());
    CGContextFillRect(context, CGRectMake(0, 0, size.width, size.height));
    CGContextClearRect(context,
                       CGRectMake(0, (size.height - viewHeight_) * 0.5, size.width, viewHeight_));
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

// Building the rows

void PEPickerDrum::layoutSubviews() {
    // A rebuild: the scroll view's moves on the way are not scrolls of the rows.
    didLoad_ = false;
    scrollView_->setFrame(bounds());
    viewNum_ = 0;
    viewWidth_ = bounds().size.width;
    viewHeight_ = rowHeight();
    const auto dataSource = dataSource_.lock();
    rowNum_ = dataSource ? dataSource->numberOfRowsInPickerDrum(*this) : 0;
    imageView_->setImage(foregroundImage());
    refreshViews();
}

void PEPickerDrum::refreshViews() {
    for (const auto& view : scrollView_->subviews()) {
        view->removeFromSuperview();
    }
    setCenterContentIndex(centerContentIndex_);
    // No rows can be stacked without a height.
    if (!(viewHeight_ > 0) || !std::isfinite(viewHeight_)) {
        viewNum_ = 0;
        didLoad_ = true;
        return;
    }
    const double height = bounds().size.height;
    viewNum_ = 2 * long(std::ceil((height - viewHeight_) / (2 * viewHeight_))) + 3;
    scrollView_->setContentSize(CGSizeMake(0, viewHeight_ * kContentRows));
    scrollView_->setContentOffset(CGPointMake(0, viewHeight_ * kContentRows * 0.5));

    const long half = viewNum_ / 2;
    double y = scrollView_->contentOffset().y +
               (scrollView_->bounds().size.height - viewHeight_) * 0.5 - double(half) * viewHeight_;
    for (long i = 0; i < viewNum_; ++i) {
        const long index = centerContentIndex_ - half + i;
        auto view = viewForIndexReusingView(index, nullptr);
        if (!view) {
            auto label = UILabel::initWithFrame(CGRectZero);
            label->setTextAlignment(NSTextAlignment::Center);
            label->setText(titleForIndex(index));
            view = label;
        }
        view->setFrame(CGRectMake(0, y, viewWidth_, viewHeight_));
        scrollView_->addSubview(view);
        y += viewHeight_;
    }
    topContentIndex_ = kContentRows / 2;
    topViewIndex_ = 0;
    bottomViewIndex_ = viewNum_ - 1;
    didLoad_ = true;
}

void PEPickerDrum::setCenterContentIndex(long index) {
    const long wrapped = rowNum_ >= 1 ? wrap(index, rowNum_) : 0;
    if (wrapped == centerContentIndex_) {
        return;
    }
    centerContentIndex_ = wrapped;
    if (const auto delegate = delegate_.lock()) {
        delegate->pickerDrumDidSelectRow(*this, wrapped);
    }
}

long PEPickerDrum::rowNumberFromIndex(long index) const {
    return rowNum_ == 0 ? index : wrap(index, rowNum_);
}

long PEPickerDrum::calcViewIndex(long viewIndex, long step) const {
    return wrap(viewIndex + step, viewNum_);
}

std::shared_ptr<UIView> PEPickerDrum::viewForIndexReusingView(long index,
                                                              std::shared_ptr<UIView> view) {
    const long row = rowNumberFromIndex(index);
    const auto delegate = delegate_.lock();
    if (row < 0 || row >= rowNum_ || !delegate) {
        return nullptr;
    }
    return delegate->pickerDrumViewForRowReusingView(*this, row, std::move(view));
}

std::string PEPickerDrum::titleForIndex(long index) {
    const long row = rowNumberFromIndex(index);
    const auto delegate = delegate_.lock();
    if (row < 0 || row >= rowNum_ || !delegate) {
        return "";
    }
    return delegate->pickerDrumTitleForRow(*this, row);
}

// Scrolling

void PEPickerDrum::scrollViewDidScroll(UIScrollView& scrollView) {
    if (!didLoad_ || viewNum_ == 0) {
        return;
    }
    const double rows = scrollView.contentOffset().y / viewHeight_ - double(topContentIndex_);
    // |rows| rounded half up.
    const long steps = long(std::max(std::fabs(rows - 0.5), std::fabs(rows + 0.5)));
    for (long step = 0; step < steps; ++step) {
        scrollWithDirection(rows < 0 ? Direction::Backwards : Direction::Forwards);
    }
}

void PEPickerDrum::scrollWithDirection(Direction direction) {
    const bool forwards = direction == Direction::Forwards;
    const long slot = forwards ? topViewIndex_ : bottomViewIndex_;
    const long step = forwards ? 1 : -1;
    const auto views = scrollView_->subviews();
    if (slot >= long(views.size())) {
        return;
    }
    topContentIndex_ += step;
    setCenterContentIndex(centerContentIndex_ + step);

    const long index = centerContentIndex_ - viewNum_ / 2 + (forwards ? viewNum_ - 1 : 0);
    auto recycled = views[size_t(slot)];
    auto view = viewForIndexReusingView(index, recycled);
    if (!view) {
        if (const auto label = std::dynamic_pointer_cast<UILabel>(recycled)) {
            label->setText(titleForIndex(index));
        }
        view = recycled;
    } else if (view != recycled) {
        // The new view takes the recycled one's place in the ring.
        view->setFrame(recycled->frame());
        recycled->removeFromSuperview();
        scrollView_->insertSubviewAtIndex(view, slot);
    }
    CGRect frame = view->frame();
    frame.origin.y += double(step) * viewHeight_ * double(viewNum_);
    view->setFrame(frame);
    topViewIndex_ = calcViewIndex(topViewIndex_, step);
    bottomViewIndex_ = calcViewIndex(bottomViewIndex_, step);
}

void PEPickerDrum::scrollViewDidEndDraggingWillDecelerate(UIScrollView&, bool decelerate) {
    // A fling settles once it comes to rest.
    if (!decelerate) {
        adjustContentOffset();
    }
}

void PEPickerDrum::scrollViewDidEndDecelerating(UIScrollView&) {
    adjustContentOffset();
}

void PEPickerDrum::adjustContentOffset() {
    if (!didLoad_ || viewNum_ == 0) {
        return;
    }
    const auto scrollView = scrollView_;
    const CGPoint settled = CGPointMake(0, viewHeight_ * double(topContentIndex_));
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        kSnapDuration, 0, UIViewAnimationOptionBeginFromCurrentState,
        [scrollView, settled] { scrollView->setContentOffset(settled); }, nullptr);
}
