#include "editor/widgets/PEPickerView.h"

#include "app/categories/UIView+UIViewx.h"
#include "editor/widgets/PEPickerDrum.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIColor.h"

#include <cmath>

std::shared_ptr<PEPickerView> PEPickerView::initWithFrame(const CGRect& frame) {
    auto picker = make<PEPickerView>();
    picker->setFrame(frame);
    return picker;
}

void PEPickerView::setDataSource(const std::shared_ptr<PEPickerViewDataSource>& dataSource) {
    if (dataSource != dataSource_.lock()) {
        didLoad_ = false;
    }
    dataSource_ = dataSource;
}

void PEPickerView::setDelegate(const std::shared_ptr<PEPickerViewDelegate>& delegate) {
    if (delegate != delegate_.lock()) {
        didLoad_ = false;
    }
    delegate_ = delegate;
}

void PEPickerView::reloadComponent(long component) {
    if (!didLoad_) {
        layoutSubviews();
    }
    if (component >= 0 && component < long(drums_.size())) {
        drums_[size_t(component)]->reload();
    }
}

void PEPickerView::selectRowInComponentAnimated(long row, long component, bool animated) {
    if (!didLoad_) {
        layoutSubviews();
    }
    if (component >= 0 && component < long(drums_.size())) {
        drums_[size_t(component)]->selectRowAnimated(row, animated);
    }
}

long PEPickerView::selectedRowInComponent(long component) const {
    if (component < 0 || component >= long(drums_.size())) {
        return 0;
    }
    return drums_[size_t(component)]->selectedRow();
}

double PEPickerView::widthForComponent(long component) {
    const auto delegate = delegate_.lock();
    return delegate ? delegate->pickerViewWidthForComponent(*this, component) : 0;
}

void PEPickerView::layoutSubviews() {
    const auto dataSource = dataSource_.lock();
    const long count =
        dataSource ? std::max(0L, dataSource->numberOfComponentsInPickerView(*this)) : 0;
    const double height = bounds().size.height;
    double x = 0;
    for (long component = 0; component < count; ++component) {
        double width = widthForComponent(component);
        if (width == 0) {
            width = bounds().size.width / double(count);
        }
        const CGRect frame = CGRectMake(x, 0, width, height);
        if (component >= long(drums_.size())) {
            auto drum = PEPickerDrum::initWithFrame(frame);
            drums_.push_back(drum);
            addSubview(drum);
        }
        const auto& drum = drums_[size_t(component)];
        drum->setFrame(frame);
        drum->setTag(component);
        drum->setBackgroundColor(UIColor::clearColor());
        drum->setForegroundColor(foregroundColor_);
        drum->setDataSource(self<PEPickerView>());
        drum->setDelegate(self<PEPickerView>());
        drum->reload();
        x += width;
    }
    while (long(drums_.size()) > count) {
        drums_.back()->removeFromSuperview();
        drums_.pop_back();
    }
    didLoad_ = true;
}

long PEPickerView::numberOfRowsInPickerDrum(PEPickerDrum& drum) {
    const auto dataSource = dataSource_.lock();
    return dataSource ? dataSource->pickerViewNumberOfRowsInComponent(*this, drum.tag()) : 0;
}

std::optional<double> PEPickerView::rowHeightInPickerDrum(PEPickerDrum& drum) {
    if (const auto delegate = delegate_.lock()) {
        if (const auto height = delegate->pickerViewRowHeightForComponent(*this, drum.tag())) {
            return height;
        }
    }
    return std::ceil(UIViewx::height(*this) / 3.0f);
}

std::shared_ptr<UIView>
PEPickerView::pickerDrumViewForRowReusingView(PEPickerDrum& drum, long row,
                                              std::shared_ptr<UIView> view) {
    const auto delegate = delegate_.lock();
    return delegate ? delegate->pickerViewViewForRowForComponentReusingView(*this, row, drum.tag(),
                                                                            std::move(view))
                    : nullptr;
}

std::string PEPickerView::pickerDrumTitleForRow(PEPickerDrum& drum, long row) {
    if (const auto delegate = delegate_.lock()) {
        if (auto title = delegate->pickerViewTitleForRowForComponent(*this, row, drum.tag())) {
            return *title;
        }
    }
    return NSString::stringWithFormat("%ld - %ld", drum.tag(), row);
}

void PEPickerView::pickerDrumDidSelectRow(PEPickerDrum& drum, long row) {
    if (const auto delegate = delegate_.lock()) {
        delegate->pickerViewDidSelectRowInComponent(*this, row, drum.tag());
    }
}
