#include "editor/tools/text/PETextSettingView.h"

#include "app/categories/UIView+UIViewx.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/widgets/PECircleView.h"
#include "editor/widgets/PEFontPickerView.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIKeyboard.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UITextView.h"
#include "platform/uikit/UIViewAnimation.h"

#include <algorithm>

namespace {
constexpr double kSwatchSide = 40;
} // namespace

std::shared_ptr<PETextSettingView> PETextSettingView::initWithFrame(const CGRect& frame) {
    auto panel = make<PETextSettingView>();
    panel->setFrame(frame);
    panel->customInit();
    return panel;
}

void PETextSettingView::customInit() {
    const auto self = this->self<PETextSettingView>();
    auto center = NSNotificationCenter::defaultCenter();
    // Held weakly by the centre: the registrations end with the panel.
    center->addObserverSelectorNameObject(
        self, [this](const NSNotification& n) { keyBoardWillShow(n); },
        UIKeyboardWillShowNotification, nullptr);
    center->addObserverSelectorNameObject(
        self, [this](const NSNotification& n) { keyBoardWillHide(n); },
        UIKeyboardWillHideNotification, nullptr);

    const double width = bounds().size.width;
    const double height = bounds().size.height;
    scrollView_ = UIScrollView::initWithFrame(bounds());
    scrollView_->setPagingEnabled(true);
    scrollView_->setShowsHorizontalScrollIndicator(false);
    scrollView_->setShowsVerticalScrollIndicator(false);
    // Pages turn only through showSettingMenuWithIndexAnimated.
    scrollView_->setScrollEnabled(false);
    addSubview(scrollView_);

    // 42 points are left for the tool's close button at the top right.
    textView_ = UITextView::initWithFrame(CGRectMake(10, 0, width - 42, kTypingHeight));
    textView_->setDelegate(self);
    textView_->setBackgroundColor(UIColor::clearColor());
    scrollView_->addSubview(textView_);

    colorPanel_ = UIView::initWithFrame(CGRectMake(width, 0, width, height));
    colorPanel_->setBackgroundColor(UIColor::clearColor());
    scrollView_->addSubview(colorPanel_);
    setColorPanel();

    fontPickerView_ = PEFontPickerView::initWithFrame(CGRectMake(2 * width, 0, width, height));
    fontPickerView_->setDelegate(self);
    fontPickerView_->setSizeComponentHidden(true);
    scrollView_->addSubview(fontPickerView_);

    scrollView_->setContentSize(CGSizeMake(3 * width, height));
}

void PETextSettingView::setColorPanel() {
    const double width = colorPanel_->bounds().size.width;
    const double height = colorPanel_->bounds().size.height;
    colorPickerView_ = PEColorPickerView::initWithFrame(CGRectMake(0, 0, 0, 160));
    colorPickerView_->setDelegate(self<PETextSettingView>());
    colorPickerView_->setCenter(CGPointMake(width * 0.5 - 10, height * 0.5 - 5));
    colorPanel_->addSubview(colorPickerView_);

    pathSlider_ =
        UISlider::initWithFrame(CGRectMake(0, 0, UIViewx::width(*colorPickerView_) * 0.8, 34));
    pathSlider_->setCenter(
        CGPointMake(colorPickerView_->center().x, UIViewx::bottom(*colorPickerView_) + 5));
    pathSlider_->setMinimumValue(0);
    pathSlider_->setMaximumValue(1);
    pathSlider_->setValue(0);
    pathSlider_->addTargetActionForControlEvents(self<PETextSettingView>(),
                                                 &PETextSettingView::pathSliderDidChange,
                                                 UIControlEventValueChanged);
    colorPanel_->addSubview(pathSlider_);

    pathCircle_ = PECircleView::initWithFrame(CGRectMake(0, 0, kSwatchSide, kSwatchSide));
    UIViewx::setRight(*pathCircle_, float(width - 10));
    UIViewx::setBottom(*pathCircle_, float(pathSlider_->center().y));
    pathCircle_->setRadius(0.6);
    pathCircle_->setBorderWidth(2);
    pathCircle_->setBorderColor(UIColor::blackColor());
    pathCircle_->setColor(UIColor::clearColor());
    colorPanel_->addSubview(pathCircle_);

    fillCircle_ = PECircleView::initWithFrame(pathCircle_->frame());
    UIViewx::setBottom(*fillCircle_, UIViewx::top(*pathCircle_));
    fillCircle_->setRadius(0.6);
    colorPanel_->addSubview(fillCircle_);

    long tag = 0;
    for (const auto& swatch : {fillCircle_, pathCircle_}) {
        swatch->setTag(tag++);
        swatch->addGestureRecognizer(UITapGestureRecognizer::initWithTargetAction(
            self<PETextSettingView>(), [this](UIGestureRecognizer& tap) { modeViewTapped(tap); }));
    }
    setSelectedMode(fillCircle_);
}

// The choices

std::string PETextSettingView::selectedText() const {
    return textView_->text();
}

void PETextSettingView::setSelectedText(const std::string& text) {
    textView_->setText(text);
}

std::shared_ptr<UIColor> PETextSettingView::selectedFillColor() const {
    return fillCircle_->color();
}

void PETextSettingView::setSelectedFillColor(const std::shared_ptr<UIColor>& color) {
    fillCircle_->setColor(color);
    if (selectedMode_ == fillCircle_) {
        colorPickerView_->setColor(fillCircle_->color());
    }
}

std::shared_ptr<UIColor> PETextSettingView::selectedBorderColor() const {
    return pathCircle_->borderColor();
}

void PETextSettingView::setSelectedBorderColor(const std::shared_ptr<UIColor>& color) {
    pathCircle_->setBorderColor(color);
    if (selectedMode_ == pathCircle_) {
        colorPickerView_->setColor(pathCircle_->borderColor());
    }
}

double PETextSettingView::selectedBorderWidth() const {
    return pathSlider_->value();
}

void PETextSettingView::setSelectedBorderWidth(double width) {
    pathSlider_->setValue(float(width));
}

std::shared_ptr<UIFont> PETextSettingView::selectedFont() const {
    return fontPickerView_->font();
}

void PETextSettingView::setSelectedFont(const std::shared_ptr<UIFont>& font) {
    fontPickerView_->setFont(font);
}

void PETextSettingView::setSelectedMode(const std::shared_ptr<UIView>& mode) {
    if (mode == selectedMode_) {
        return;
    }
    if (selectedMode_) {
        selectedMode_->setBackgroundColor(UIColor::clearColor());
    }
    selectedMode_ = mode;
    if (!mode) {
        return;
    }
    mode->setBackgroundColor(PEImageEditorTheme::theme()->toolbarSelectedButtonColor());
    colorPickerView_->setColor(mode == fillCircle_ ? fillCircle_->color()
                                                   : pathCircle_->borderColor());
}

void PETextSettingView::setTextColor(const std::shared_ptr<UIColor>& color) {
    fontPickerView_->setTextColor(color);
    textView_->setTextColor(color);
}

void PETextSettingView::setFontPickerForegroundColor(const std::shared_ptr<UIColor>& color) {
    fontPickerView_->setForegroundColor(color);
}

bool PETextSettingView::isFirstResponder() const {
    return textView_->isFirstResponder();
}

bool PETextSettingView::becomeFirstResponder() {
    return textView_->becomeFirstResponder();
}

bool PETextSettingView::resignFirstResponder() {
    return textView_->resignFirstResponder();
}

void PETextSettingView::showSettingMenuWithIndexAnimated(long index, bool animated) {
    scrollView_->setContentOffsetAnimated(CGPointMake(double(index) * bounds().size.width, 0),
                                          animated);
}

// What the parts report

void PETextSettingView::colorPickerViewColorDidChange(PEColorPickerView&,
                                                      const std::shared_ptr<UIColor>& color) {
    const auto delegate = delegate_.lock();
    if (selectedMode_ == fillCircle_) {
        fillCircle_->setColor(color);
        if (delegate) {
            delegate->textSettingViewDidChangeFillColor(*this, color);
        }
    } else {
        pathCircle_->setBorderColor(color);
        if (delegate) {
            delegate->textSettingViewDidChangeBorderColor(*this, color);
        }
    }
}

void PETextSettingView::pathSliderDidChange(UISlider& slider) {
    if (const auto delegate = delegate_.lock()) {
        delegate->textSettingViewDidChangeBorderWidth(*this, slider.value());
    }
}

void PETextSettingView::fontPickerViewDidSelectFont(PEFontPickerView&,
                                                    const std::shared_ptr<UIFont>& font) {
    if (const auto delegate = delegate_.lock()) {
        delegate->textSettingViewDidChangeFont(*this, font);
    }
}

void PETextSettingView::modeViewTapped(UIGestureRecognizer& recognizer) {
    if (recognizer.state() == UIGestureRecognizerState::Ended) {
        setSelectedMode(recognizer.view());
    }
}

void PETextSettingView::textViewDidChange(UITextView& textView) {
    const std::string& text = textView.text();
    const NSRange selection = textView.selectedRange();
    if (!text.empty() && NSMaxRange(selection) == text.size() && text.back() == '\n') {
        // Show the new empty last line.
        textView.layoutIfNeeded();
        textView.scrollRectToVisibleAnimated(CGRectMake(0, textView.contentSize().height - 1, 1, 1),
                                             true);
    } else {
        textView.scrollRangeToVisible(selection);
    }
    if (const auto delegate = delegate_.lock()) {
        delegate->textSettingViewDidChangeText(*this, text);
    }
}

// The keyboard

void PETextSettingView::keyBoardWillShow(const NSNotification& notification) {
    keyBoardWillChangeWithTextViewHeight(notification, kTypingHeight);
    textView_->scrollRangeToVisible(textView_->selectedRange());
}

void PETextSettingView::keyBoardWillHide(const NSNotification& notification) {
    keyBoardWillChangeWithTextViewHeight(notification, UIViewx::height(*this) - 20);
}

void PETextSettingView::keyBoardWillChangeWithTextViewHeight(const NSNotification& notification,
                                                             double height) {
    const auto parent = superview();
    const CGRect keyboard =
        parent
            ? parent->convertRectFromView(UIKeyboard::frameEndOfNotification(notification), nullptr)
            : UIKeyboard::frameEndOfNotification(notification);
    const unsigned curve = unsigned(UIKeyboard::curveOfNotification(notification));
    const double duration = UIKeyboard::durationOfNotification(notification);
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        duration, 0, (curve << 16) | UIViewAnimationOptionBeginFromCurrentState,
        [this, keyboard, height] {
            UIViewx::setHeight(*textView_, float(height));
            // Just enough to sit the text on the keyboard, never below the panel's place.
            const double rise =
                std::min(0.0, CGRectGetMinY(keyboard) - height - UIViewx::top(*this));
            setTransform(CGAffineTransformMakeTranslation(0, rise));
        },
        nullptr);
}
