#include "editor/widgets/PEFontPickerView.h"

#include "app/categories/UIView+UIViewx.h"
#include "editor/widgets/PEPickerView.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UILabel.h"

#include <algorithm>

namespace {
constexpr double kListedSize = 14;
// The face drum's share of the width while the size drum shows.
constexpr double kFaceShare = 0.8;
constexpr const char* kDefaultFontName = "DejaVuSans";

bool sameFonts(const std::vector<std::shared_ptr<UIFont>>& a,
               const std::vector<std::shared_ptr<UIFont>>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return x->isEqual(*y); });
}
} // namespace

std::vector<std::shared_ptr<UIFont>> PEFontPickerView::allFontList() {
    std::vector<std::shared_ptr<UIFont>> fonts;
    for (const auto& family : UIFont::familyNames()) {
        for (const auto& name : UIFont::fontNamesForFamilyName(family)) {
            if (auto font = UIFont::fontWithNameSize(name, kListedSize)) {
                fonts.push_back(std::move(font));
            }
        }
    }
    std::ranges::sort(fonts, {}, [](const auto& font) { return font->fontName(); });
    return fonts;
}

std::vector<double> PEFontPickerView::defaultSizes() {
    return {8, 10, 12, 14, 16, 18, 20, 24, 28, 32, 38, 44, 50};
}

std::shared_ptr<UIFont> PEFontPickerView::defaultFont() {
    // A bundle without the default face still gives a font: the system's.
    auto font = UIFont::fontWithNameSize(kDefaultFontName, kListedSize);
    return font ? font : UIFont::systemFontOfSize(kListedSize);
}

std::shared_ptr<PEFontPickerView> PEFontPickerView::initWithFrame(const CGRect& frame) {
    auto view = make<PEFontPickerView>();
    view->setFrame(frame);
    view->setClipsToBounds(true);
    auto picker = PEPickerView::initWithFrame(view->bounds());
    picker->setCenter(CGPointMake(frame.size.width * 0.5, frame.size.height * 0.5));
    picker->setBackgroundColor(UIColor::clearColor());
    picker->setDataSource(view);
    picker->setDelegate(view);
    view->addSubview(picker);
    view->pickerView_ = picker;
    view->setFontList(allFontList());
    view->setFontSizes(defaultSizes());
    view->setFont(defaultFont());
    view->setForegroundColor(UIColor::colorWithWhiteAlpha(1, 0.8));
    view->setTextColor(UIColor::blackColor());
    return view;
}

void PEFontPickerView::setFontList(std::vector<std::shared_ptr<UIFont>> fonts) {
    std::erase(fonts, nullptr);
    const bool changed = !sameFonts(fonts, fontList_);
    fontList_ = std::move(fonts);
    if (changed) {
        pickerView_->reloadComponent(0);
    }
}

void PEFontPickerView::setFontSizes(std::vector<double> sizes) {
    const bool changed = sizes != fontSizes_;
    fontSizes_ = std::move(sizes);
    if (changed) {
        pickerView_->reloadComponent(1);
    }
}

std::shared_ptr<UIFont> PEFontPickerView::font() const {
    const long face = pickerView_->selectedRowInComponent(0);
    const long size = pickerView_->selectedRowInComponent(1);
    // With an empty list the default face or size stands in.
    const auto base = face < long(fontList_.size()) ? fontList_[size_t(face)] : defaultFont();
    return base->fontWithSize(size < long(fontSizes_.size()) ? fontSizes_[size_t(size)]
                                                             : kListedSize);
}

void PEFontPickerView::setFont(const std::shared_ptr<UIFont>& font) {
    if (!font) {
        return;
    }
    const auto listed = font->fontWithSize(kListedSize);
    const auto face = std::ranges::find_if(
        fontList_, [&](const auto& candidate) { return candidate->isEqual(*listed); });
    const long faceRow = face == fontList_.end() ? 0 : long(face - fontList_.begin());
    const float pointSize = float(font->pointSize());
    const auto size = std::ranges::find_if(
        fontSizes_, [&](double candidate) { return pointSize <= float(candidate); });
    // Larger than every size: the largest, not a wrap round to the smallest.
    const long sizeRow = size != fontSizes_.end() ? long(size - fontSizes_.begin())
                                                  : std::max(0L, long(fontSizes_.size()) - 1);
    pickerView_->selectRowInComponentAnimated(faceRow, 0, false);
    pickerView_->selectRowInComponentAnimated(sizeRow, 1, false);
}

void PEFontPickerView::setSizeComponentHidden(bool hidden) {
    sizeComponentHidden_ = hidden;
    pickerView_->setNeedsLayout();
}

std::shared_ptr<UIColor> PEFontPickerView::foregroundColor() const {
    return pickerView_->foregroundColor();
}

void PEFontPickerView::setForegroundColor(std::shared_ptr<UIColor> color) {
    pickerView_->setForegroundColor(std::move(color));
}

// The picker's questions

long PEFontPickerView::numberOfComponentsInPickerView(PEPickerView&) {
    return 2;
}

long PEFontPickerView::pickerViewNumberOfRowsInComponent(PEPickerView&, long component) {
    switch (component) {
    case 0:
        return long(fontList_.size());
    case 1:
        return long(fontSizes_.size());
    default:
        return 0;
    }
}

std::optional<double> PEFontPickerView::pickerViewRowHeightForComponent(PEPickerView&, long) {
    return UIViewx::height(*this) * 0.25f;
}

double PEFontPickerView::pickerViewWidthForComponent(PEPickerView&, long component) {
    const double share = sizeComponentHidden_ ? 1.0 : kFaceShare;
    switch (component) {
    case 0:
        return bounds().size.width * share;
    case 1:
        return bounds().size.width * (1 - share);
    default:
        return 0;
    }
}

std::shared_ptr<UIView> PEFontPickerView::pickerViewViewForRowForComponentReusingView(
    PEPickerView& pickerView, long row, long component, std::shared_ptr<UIView> view) {
    auto label = std::dynamic_pointer_cast<UILabel>(view);
    if (!label) {
        const double width = pickerViewWidthForComponent(pickerView, component);
        const double height = pickerViewRowHeightForComponent(pickerView, component).value_or(0);
        label = UILabel::initWithFrame(CGRectMake(10, 0, width - 20, height));
        label->setBackgroundColor(UIColor::clearColor());
        label->setAdjustsFontSizeToFitWidth(true);
        label->setMinimumScaleFactor(0.5);
        label->setTextAlignment(NSTextAlignment::Center);
        label->setTextColor(textColor_);
    }
    if (component == 1 && row >= 0 && row < long(fontSizes_.size())) {
        label->setFont(UIFont::systemFontOfSize(kListedSize));
        label->setText(
            NSString::stringWithFormat("%@", NSNumber::numberWithDouble(fontSizes_[size_t(row)])));
    } else if (component == 0 && row >= 0 && row < long(fontList_.size())) {
        const auto& font = fontList_[size_t(row)];
        label->setFont(font);
        label->setText(text_.empty() ? font->fontName() : text_);
    }
    return label;
}

void PEFontPickerView::pickerViewDidSelectRowInComponent(PEPickerView&, long, long) {
    if (const auto delegate = delegate_.lock()) {
        delegate->fontPickerViewDidSelectFont(*this, font());
    }
}
