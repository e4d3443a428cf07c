#include "platform/uikit/UITableViewCell.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScreen.h"

#include <algorithm>

namespace {
// The platform's look: a light grey selection, a grey chevron, a tinted check mark and a
// hairline separator.
const CGColor kSelectionColor = CGColorMake(0xD9 / 255.0, 0xD9 / 255.0, 0xD9 / 255.0, 1);
const CGColor kChevronColor = CGColorMake(0xC7 / 255.0, 0xC7 / 255.0, 0xCC / 255.0, 1);
const CGColor kCheckmarkColor = CGColorMake(0, 0x7A / 255.0, 1, 1);
const CGColor kSeparatorColor = CGColorMake(0xC8 / 255.0, 0xC7 / 255.0, 0xCC / 255.0, 1);
constexpr CGFloat kDefaultWidth = 320;
constexpr CGFloat kDefaultHeight = 44;
} // namespace

std::shared_ptr<UITableViewCell>
UITableViewCell::initWithStyleReuseIdentifier(UITableViewCellStyle style,
                                              std::string reuseIdentifier) {
    return makeWithStyleReuseIdentifier<UITableViewCell>(style, std::move(reuseIdentifier));
}

void UITableViewCell::setUp(UITableViewCellStyle, std::string reuseIdentifier) {
    reuseIdentifier_ = std::move(reuseIdentifier);
    setFrame(CGRectMake(0, 0, kDefaultWidth, kDefaultHeight));
    setBackgroundColor(UIColor::whiteColor());
    contentView_ = UIView::initWithFrame(bounds());
    contentView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                      UIViewAutoresizingFlexibleHeight);
    addSubview(contentView_);
    imageView_ = UIImageView::initWithFrame(CGRectZero);
    contentView_->addSubview(imageView_);
    textLabel_ = UILabel::initWithFrame(CGRectZero);
    contentView_->addSubview(textLabel_);
    setNeedsLayout();
}

void UITableViewCell::setAccessoryType(UITableViewCellAccessoryType type) {
    accessoryType_ = type;
    setNeedsLayout();
    setNeedsDisplay();
}

void UITableViewCell::setSelectionStyle(UITableViewCellSelectionStyle style) {
    selectionStyle_ = style;
    setNeedsDisplay();
}

void UITableViewCell::setSelected(bool selected) {
    selected_ = selected;
    setNeedsDisplay();
}

void UITableViewCell::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    setNeedsDisplay();
}

void UITableViewCell::setShowsSeparator(bool shows) {
    if (showsSeparator_ != shows) {
        showsSeparator_ = shows;
        setNeedsLayout();
        setNeedsDisplay();
    }
}

CGFloat UITableViewCell::separatorHeight() const {
    return showsSeparator_ ? 1 / UIScreen::mainScreen()->scale() : 0;
}

void UITableViewCell::prepareForReuse() {
    if (textLabel_) {
        textLabel_->setText("");
        imageView_->setImage(nullptr);
    }
    setAccessoryType(UITableViewCellAccessoryType::None);
    setSelected(false);
    setHighlighted(false);
}

std::string UITableViewCell::accessibilityLabel() const {
    const std::string own = UIView::accessibilityLabel();
    return own.empty() && textLabel_ ? textLabel_->text() : own;
}

void UITableViewCell::layoutSubviews() {
    if (!contentView_) {
        return;
    }
    const CGSize size = bounds().size;
    const CGFloat accessory =
        accessoryType_ == UITableViewCellAccessoryType::None ? 0 : kAccessoryWidth;
    const CGRect content = CGRectMake(0, 0, std::max<CGFloat>(0, size.width - accessory),
                                      std::max<CGFloat>(0, size.height - separatorHeight()));
    contentView_->setFrame(content);
    // The image at its own size (shrunk to the row's height), centred on the row.
    CGFloat textLeft = kMargin;
    const auto image = imageView_->image();
    if (image && image->size().height > 0) {
        const CGFloat height = std::min(image->size().height, content.size.height);
        const CGFloat width = image->size().width * height / image->size().height;
        imageView_->setFrame(
            CGRectMake(kMargin, (content.size.height - height) / 2, width, height));
        textLeft += width + kMargin;
    } else {
        imageView_->setFrame(CGRectZero);
    }
    textLabel_->setFrame(CGRectMake(textLeft, 0,
                                    std::max<CGFloat>(0, content.size.width - textLeft - kMargin),
                                    content.size.height));
}

void UITableViewCell::drawRect(const CGRect&) {
    const auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    const CGSize size = bounds().size;
    if ((selected_ || highlighted_) && selectionStyle_ != UITableViewCellSelectionStyle::None) {
        CGContextSetFillColorWithColor(context, kSelectionColor);
        CGContextFillRect(context, CGRectMake(0, 0, size.width, size.height));
    }
    const CGFloat middle = (size.height - separatorHeight()) / 2;
    const CGFloat right = size.width - kMargin;
    if (accessoryType_ == UITableViewCellAccessoryType::DisclosureIndicator) {
        CGContextSetStrokeColorWithColor(context, kChevronColor);
        CGContextSetLineWidth(context, 2);
        CGContextMoveToPoint(context, right - 8, middle - 6.5);
        CGContextAddLineToPoint(context, right, middle);
        CGContextAddLineToPoint(context, right - 8, middle + 6.5);
        CGContextStrokePath(context);
    } else if (accessoryType_ == UITableViewCellAccessoryType::Checkmark) {
        CGContextSetStrokeColorWithColor(context, kCheckmarkColor);
        CGContextSetLineWidth(context, 2);
        CGContextMoveToPoint(context, right - 14, middle);
        CGContextAddLineToPoint(context, right - 9, middle + 5);
        CGContextAddLineToPoint(context, right, middle - 6);
        CGContextStrokePath(context);
    }
    if (showsSeparator_) {
        CGContextSetFillColorWithColor(context, kSeparatorColor);
        CGContextFillRect(context, CGRectMake(kMargin, size.height - separatorHeight(),
                                              size.width - kMargin, separatorHeight()));
    }
}
