#include "editor/tools/resize/_PEResizePanel.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolBase.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSString.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/NSParagraphStyle.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIKeyboard.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <cmath>

namespace {
// The most characters a field holds.
constexpr size_t kMaxDigits = 4;

// A side as the fields show it: cut to a whole number.
std::string whole(double value) {
    return NSString::stringWithFormat("%ld", static_cast<long>(std::trunc(value)));
}

std::shared_ptr<UILabel> infoLabel(const CGRect& frame, double fontSize, std::string text) {
    auto theme = PEImageEditorTheme::theme();
    auto label = UILabel::initWithFrame(frame);
    label->setTextColor(theme->toolbarTextColor());
    label->setBackgroundColor(UIColor::clearColor());
    auto font = theme->toolbarTextFont();
    label->setFont(font ? font->fontWithSize(fontSize) : UIFont::systemFontOfSize(fontSize));
    label->setText(std::move(text));
    return label;
}
} // namespace

std::shared_ptr<_PEResizePanel>
_PEResizePanel::initWithFrameOriginalSizeTool(const CGRect& frame, CGSize originalSize,
                                              const PEImageToolBase* tool) {
    auto panel = make<_PEResizePanel>();
    panel->setFrame(frame);
    panel->originalSize_ = originalSize;
    panel->initInfoPanelWithTool(tool);
    return panel;
}

std::shared_ptr<_PEResizePanel> _PEResizePanel::alloc() {
    return initWithFrameOriginalSizeTool(CGRectZero, CGSizeZero, nullptr);
}

void _PEResizePanel::initInfoPanelWithTool(const PEImageToolBase* tool) {
    auto theme = PEImageEditorTheme::theme();
    const CGSize size = frame().size;
    const double width = 0.85 * size.width, height = 180;
    infoPanel_ = UIView::initWithFrame(
        CGRectMake((size.width - width) / 2, (size.height - height) / 2, width, height));
    auto box = theme->toolbarColor();
    infoPanel_->setBackgroundColor(box ? box->colorWithAlphaComponent(0.9) : nullptr);
    infoPanel_->layer()->setCornerRadius(5);
    infoPanel_->setAutoresizingMask(UIViewAutoresizingFlexibleTopMargin |
                                    UIViewAutoresizingFlexibleBottomMargin);
    addSubview(infoPanel_);

    addGestureRecognizer(UITapGestureRecognizer::initWithTargetAction(
        weakSelf<_PEResizePanel>(),
        weakAction(self<_PEResizePanel>(), &_PEResizePanel::viewDidTap)));
    // The centre holds the panel weakly: the registrations end with it.
    auto centre = NSNotificationCenter::defaultCenter();
    for (const char* name : {UIKeyboardWillShowNotification, UIKeyboardWillHideNotification}) {
        centre->addObserverSelectorNameObject(
            self<_PEResizePanel>(),
            weakCall(weakSelf<_PEResizePanel>(),
                     [](_PEResizePanel& panel, const NSNotification& note) {
                         panel.keyBoardWillChange(note);
                     }),
            name, nullptr);
    }

    const double inner = width - 20;
    auto original =
        infoLabel(CGRectMake(10, 5, inner, 30), 17,
                  PEImageEditorTheme::localizedStringWithDefault(
                      "PEResizeTool_InfoPanelTextOriginalSize", "Original Image Size:"));
    infoPanel_->addSubview(original);
    auto sizeLabel = infoLabel(CGRectMake(10, CGRectGetMaxY(original->frame()), inner, 50), 30,
                               whole(originalSize_.width) + " x " + whole(originalSize_.height));
    sizeLabel->setTextAlignment(NSTextAlignment::Center);
    infoPanel_->addSubview(sizeLabel);
    auto fresh = infoLabel(CGRectMake(10, height / 2, inner, 30), 17,
                           PEImageEditorTheme::localizedStringWithDefault(
                               "PEResizeTool_InfoPanelTextNewSize", "New Image Size:"));
    infoPanel_->addSubview(fresh);

    chainBtn_ = UIButton::buttonWithType(UIButtonType::Custom);
    chainBtn_->setFrame(CGRectMake(0, 0, 35, 35));
    chainBtn_->setCenter(
        CGPointMake(CGRectGetMidX(fresh->frame()), CGRectGetMaxY(fresh->frame()) + 25));
    if (tool) {
        chainBtn_->setImageForState(
            tool->imageForKeyDefaultImageName("chainOffIconAssetsName", "btn_chain_off.png"),
            UIControlStateNormal);
        chainBtn_->setImageForState(
            tool->imageForKeyDefaultImageName("chainOnIconAssetsName", "btn_chain_on.png"),
            UIControlStateSelected);
    }
    chainBtn_->addTargetActionForControlEvents(
        self<_PEResizePanel>(), &_PEResizePanel::chainBtnDidPush, UIControlEventTouchUpInside);
    chainBtn_->setSelected(true);
    infoPanel_->addSubview(chainBtn_);

    const double fieldsTop = CGRectGetMaxY(fresh->frame()) + 5;
    fieldW_ = UITextField::initWithFrame(
        CGRectMake(CGRectGetMinX(chainBtn_->frame()) - 110, fieldsTop, 100, 40));
    fieldH_ = UITextField::initWithFrame(
        CGRectMake(CGRectGetMaxX(chainBtn_->frame()) + 10, fieldsTop, 100, 40));
    for (const auto& field : {fieldW_, fieldH_}) {
        field->setTextColor(theme->toolbarTextColor());
        auto font = theme->toolbarTextFont();
        field->setFont(font ? font->fontWithSize(30) : UIFont::systemFontOfSize(30));
        field->setTextAlignment(NSTextAlignment::Center);
        field->setKeyboardType(UIKeyboardType::NumberPad);
        field->layer()->setBorderWidth(1);
        if (auto colour = theme->toolbarTextColor()) {
            field->layer()->setBorderColor(colour->cgColor());
        }
        field->setDelegate(weakSelf<_PEResizePanel>());
        field->addTargetActionForControlEvents(self<_PEResizePanel>(),
                                               &_PEResizePanel::textFieldDidChanged,
                                               UIControlEventEditingChanged);
        infoPanel_->addSubview(field);
    }
    fieldW_->setText(whole(originalSize_.width));
    fieldH_->setText(whole(originalSize_.height));
}

void _PEResizePanel::setLimitSize(double limit) {
    limitSize_ = std::isfinite(limit) && limit >= 1 ? limit : 1;
    setImageWidth(NSString::doubleValue(fieldW_->text()));
}

void _PEResizePanel::setImageWidth(double width) {
    setSide(width, true);
}

void _PEResizePanel::setImageHeight(double height) {
    setSide(height, false);
}

void _PEResizePanel::setSide(double value, bool width) {
    const auto& field = width ? fieldW_ : fieldH_;
    const auto& other = width ? fieldH_ : fieldW_;
    const double side = std::min(value, limitSize_);
    if (!chainBtn_->isSelected()) {
        if (side > 0) {
            field->setText(whole(side));
        }
        return;
    }
    if (!(side > 0)) {
        other->setText("");
        return;
    }
    const double from = width ? originalSize_.width : originalSize_.height;
    const double to = width ? originalSize_.height : originalSize_.width;
    // A picture of no size has no proportion to keep: the other side stays at 1.
    const double scaled = from > 0 && to > 0 ? side * to / from : 1;
    const double follows = std::max(scaled, 1.0);
    if (follows > limitSize_) {
        setSide(follows, !width);
        return;
    }
    field->setText(whole(side));
    other->setText(whole(follows));
}

CGSize _PEResizePanel::imageSize() const {
    return CGSizeMake(NSString::doubleValue(fieldW_->text()),
                      NSString::doubleValue(fieldH_->text()));
}

void _PEResizePanel::chainBtnDidPush() {
    chainBtn_->setSelected(!chainBtn_->isSelected());
    const double w = NSString::doubleValue(fieldW_->text());
    const double h = NSString::doubleValue(fieldH_->text());
    if (w > h) {
        setImageWidth(w);
    } else {
        setImageHeight(h);
    }
}

void _PEResizePanel::textFieldDidChanged(UITextField& field) {
    if (&field == fieldW_.get()) {
        setImageWidth(NSString::doubleValue(field.text()));
    } else if (&field == fieldH_.get()) {
        setImageHeight(NSString::doubleValue(field.text()));
    }
}

bool _PEResizePanel::textFieldShouldChangeCharactersInRangeReplacementString(
    UITextField& textField, NSRange range, const std::string& string) {
    if (&textField != fieldW_.get() && &textField != fieldH_.get()) {
        return true;
    }
    if (string.empty()) {
        return true;
    }
    const std::string& text = textField.text();
    if (range.location > text.size()) {
        return false;
    }
    std::string after = text;
    after.replace(range.location, std::min(range.length, text.size() - range.location), string);
    return after.size() <= kMaxDigits && isNumber(after);
}

bool _PEResizePanel::isNumber(const std::string& text) {
    if (text.empty() || text.front() == '0') {
        return false;
    }
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void _PEResizePanel::viewDidTap() {
    endEditing(true);
}

void _PEResizePanel::keyBoardWillChange(const NSNotification& notification) {
    auto parent = superview();
    if (!parent) {
        return;
    }
    const CGRect keyboard =
        parent->convertRectFromView(UIKeyboard::frameEndOfNotification(notification), nullptr);
    const long curve = UIKeyboard::curveOfNotification(notification);
    const double duration = UIKeyboard::durationOfNotification(notification);
    const double visible =
        std::min(frame().size.height, CGRectGetMinY(keyboard) - CGRectGetMinY(frame()));
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        duration, 0,
        UIViewAnimationOptionBeginFromCurrentState | static_cast<unsigned>(curve) << 16,
        [box = infoPanel_, visible] { box->setCenter(CGPointMake(box->center().x, visible / 2)); },
        nullptr);
}
