#include "app/widgets/CCDropdownTitleView.h"

#include "platform/text/UIFont.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

#include <algorithm>

namespace {
constexpr CGSize kSize{200, 44};
constexpr CGSize kArrowSize{14, 8};
// Between the title and the arrow.
constexpr double kGap = 5;
} // namespace

std::shared_ptr<CCDropdownTitleView> CCDropdownTitleView::titleView() {
    auto view = make<CCDropdownTitleView>();
    view->setFrame(CGRectMake(0, 0, kSize.width, kSize.height));

    auto label = UILabel::initWithFrame(CGRectZero);
    label->setFont(UIFont::boldSystemFontOfSize(17));
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(NSTextAlignment::Center);
    label->setMinimumScaleFactor(0.5);
    view->addSubview(label);
    view->titleLabel_ = label;

    auto arrow = UIImageView::initWithImage(UIImage::imageNamed("dropdownArrow"));
    arrow->setContentMode(UIViewContentMode::ScaleAspectFit);
    view->addSubview(arrow);
    view->imageView_ = arrow;

    auto button = UIButton::buttonWithType(UIButtonType::Custom);
    button->setFrame(view->bounds());
    button->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    view->addSubview(button);
    view->titleButton_ = button;
    return view;
}

void CCDropdownTitleView::setTitle(const std::string& title) {
    if (auto label = titleLabel()) {
        label->setText(title);
        label->sizeToFit();
        label->setAdjustsFontSizeToFitWidth(true);
    }
    // A finger, or a screen reader, finds the control by the title it shows.
    if (auto button = titleButton()) {
        button->setAccessibilityLabel(title);
    }
    setNeedsLayout();
}

void CCDropdownTitleView::layoutSubviews() {
    CGSize size = bounds().size;
    auto label = titleLabel();
    double labelWidth = 0;
    if (label) {
        double room = std::max(0.0, size.width - kArrowSize.width - kGap);
        labelWidth = std::min(label->sizeThatFits(CGSizeMake(0, 0)).width, room);
    }
    double left = std::max(0.0, (size.width - labelWidth - kGap - kArrowSize.width) / 2);
    if (label) {
        label->setFrame(CGRectMake(left, 0, labelWidth, size.height));
    }
    // Placed by centre and bounds, so the arrow may be turned meanwhile.
    if (auto arrow = imageView()) {
        arrow->setBounds(CGRectMake(0, 0, kArrowSize.width, kArrowSize.height));
        arrow->setCenter(
            CGPointMake(left + labelWidth + kGap + kArrowSize.width / 2, size.height / 2));
    }
}
