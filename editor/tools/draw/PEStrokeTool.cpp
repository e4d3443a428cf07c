#include "editor/tools/draw/PEStrokeTool.h"

#include "app/categories/UIView+UIViewx.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEToolPanel.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIPinchGestureRecognizer.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;
// The panel's right column holds the swatch; the sliders fill the rest, inset 10 a side.
constexpr double kSwatchColumn = 70;

// A picture that draws nothing, for the slider parts the panel's own track picture stands
// in for.
std::shared_ptr<UIImage> emptyImage() {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(1, 1), false, 1);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

} // namespace

std::shared_ptr<UIColor> PEStrokeTool::themeTextColor() {
    auto colour = PEImageEditorTheme::theme()->toolbarTextColor();
    return colour ? colour : UIColor::blackColor();
}

std::optional<PlistValue::Dictionary> PEStrokeTool::ClassMethods::optionalInfo(const Class&) const {
    return PlistValue::Dictionary{{"eraserIconAssetsName", ""}};
}

void PEStrokeTool::setup() {
    auto editor = this->editor();
    // The panel stands on the editor's menu: without it, no tool.
    if (!editor || !editor->menuView()) {
        return;
    }
    auto imageView = editor->imageView();
    auto picture = imageView->image();
    originalImageSize_ = picture ? picture->size() : CGSizeZero;
    drawingView_ = UIImageView::initWithFrame(imageView->bounds());
    prepareDrawingView(picture);

    auto tool = self<PEStrokeTool>();
    auto pan = UIPanGestureRecognizer::initWithTargetAction(
        tool, weakAction(tool, &PEStrokeTool::drawingViewDidPan));
    pan->setMaximumNumberOfTouches(1);
    drawingView_->addGestureRecognizer(pan);
    drawingView_->setUserInteractionEnabled(true);
    imageView->addSubview(drawingView_);
    imageView->setUserInteractionEnabled(true);

    // One finger paints; two pan and zoom the picture, without waiting to see which.
    auto scrollView = editor->scrollView();
    scrollView->panGestureRecognizer()->setMinimumNumberOfTouches(2);
    scrollView->panGestureRecognizer()->setDelaysTouchesBegan(false);
    // A scroll view that cannot zoom has no pinch.
    if (auto pinch = scrollView->pinchGestureRecognizer()) {
        pinch->setDelaysTouchesBegan(false);
    }

    auto menu = editor->menuView();
    menuView_ = UIView::initWithFrame(menu->frame());
    menuView_->setBackgroundColor(menu->backgroundColor());
    editor->view()->addSubview(menuView_);
    setMenu();
    menuView_->setClipsToBounds(false);
    PEToolPanel::slideIn(*editor, menuView_);
}

void PEStrokeTool::cleanup() {
    auto editor = this->editor();
    if (!editor || !drawingView_) {
        return;
    }
    drawingView_->removeFromSuperview();
    editor->imageView()->setUserInteractionEnabled(false);
    editor->scrollView()->panGestureRecognizer()->setMinimumNumberOfTouches(1);
    PEToolPanel::slideOutAndRemove(*editor, menuView_);
}

void PEStrokeTool::executeWithCompletionBlock(Completion completion) {
    auto editor = this->editor();
    if (!editor || !drawingView_) {
        return;
    }
    answerInBackground(resultBuilder(editor->imageView()->image()), std::move(completion));
}

std::shared_ptr<UISlider> PEStrokeTool::defaultSliderWithWidth(double width) {
    auto slider = UISlider::initWithFrame(CGRectMake(0, 0, width, kSliderHeight));
    static const auto empty = emptyImage();
    slider->setMaximumTrackImageForState(empty, UIControlStateNormal);
    slider->setMinimumTrackImageForState(empty, UIControlStateNormal);
    // The thumb keeps its drawn disc: a picture in its place would hide the tint that
    // shows the chosen colour.
    slider->setThumbTintColor(UIColor::whiteColor());
    return slider;
}

std::shared_ptr<UIImage> PEStrokeTool::widthSliderBackground() const {
    const CGSize size = widthSlider_->frame().size;
    const double w = size.width, h = size.height;
    const double r = 0.3 * h, cy = h * 0.5 - 2, xr = w - r - 1;
    UIGraphicsBeginImageContextWithOptions(size, false, 0);
    if (!UIGraphicsGetCurrentContext()) {
        UIGraphicsEndImageContext();
        return nullptr;
    }
    auto path = UIBezierPath::bezierPath();
    path->addArcWithCenterRadiusStartAngleEndAngleClockwise(CGPointMake(6, cy), 1, -kPi / 2,
                                                            kPi / 2, true);
    path->addLineToPoint(CGPointMake(xr, cy + r));
    path->addArcWithCenterRadiusStartAngleEndAngleClockwise(CGPointMake(xr, cy), r, kPi / 2,
                                                            3 * kPi / 2, true);
    path->addLineToPoint(CGPointMake(6, cy - 1));
    path->closePath();
    CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(),
                                   themeTextColor()->colorWithAlphaComponent(0.5)->cgColor());
    path->fill();
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

double PEStrokeTool::sliderWidth() const {
    return menuView_->frame().size.width - kSwatchColumn - 20;
}

void PEStrokeTool::addWidthSlider(double top) {
    widthSlider_ = defaultSliderWithWidth(sliderWidth());
    UIViewx::setLeft(*widthSlider_, 10);
    UIViewx::setTop(*widthSlider_, top);
    widthSlider_->setValue(0.1f);
    widthSlider_->addTargetActionForControlEvents(
        self<PEStrokeTool>(), &PEStrokeTool::widthSliderDidChange, UIControlEventValueChanged);
    addSliderOverTrackPicture(widthSlider_, widthSliderBackground());
}

void PEStrokeTool::addSliderOverTrackPicture(const std::shared_ptr<UISlider>& slider,
                                             const std::shared_ptr<UIImage>& picture) {
    auto track = UIImageView::initWithFrame(slider->frame());
    track->setImage(picture);
    menuView_->addSubview(track);
    menuView_->addSubview(slider);
}

void PEStrokeTool::addStrokePreview() {
    const double w = menuView_->frame().size.width, h = menuView_->frame().size.height;
    const auto ring = themeTextColor();
    strokePreview_ =
        UIView::initWithFrame(CGRectMake(0, 0, kStrokePreviewSide, kStrokePreviewSide));
    strokePreview_->layer()->setCornerRadius(kStrokePreviewSide / 2);
    strokePreview_->layer()->setBorderWidth(1);
    strokePreview_->layer()->setBorderColor(ring->cgColor());
    strokePreview_->setCenter(CGPointMake(w - 35, h * 0.5));
    menuView_->addSubview(strokePreview_);

    strokePreviewBackground_ = UIView::initWithFrame(strokePreview_->frame());
    strokePreviewBackground_->layer()->setCornerRadius(kStrokePreviewSide / 2);
    strokePreviewBackground_->setAlpha(0.3);
    auto tool = self<PEStrokeTool>();
    strokePreviewBackground_->addGestureRecognizer(UITapGestureRecognizer::initWithTargetAction(
        tool, weakAction(tool, &PEStrokeTool::strokePreviewDidTap)));
    menuView_->insertSubviewAboveSubview(strokePreviewBackground_, strokePreview_);
}

void PEStrokeTool::addEraserIcon() {
    eraserIcon_ = UIImageView::initWithFrame(strokePreview_->frame());
    eraserIcon_->setImage(imageForKeyDefaultImageName("eraserIconAssetsName", "btn_eraser.png"));
    eraserIcon_->setHidden(true);
    menuView_->addSubview(eraserIcon_);
}

void PEStrokeTool::widthSliderDidChange(UISlider& slider) {
    const double s = std::max(static_cast<double>(slider.value()), 0.05);
    strokePreview_->setTransform(CGAffineTransformMakeScale(s, s));
    strokePreview_->layer()->setBorderWidth(2 / s);
}

void PEStrokeTool::strokePreviewDidTap(UIGestureRecognizer&) {
    eraserIcon_->setHidden(!eraserIcon_->isHidden());
}

bool PEStrokeTool::isEraserMode() const {
    return eraserIcon_ && !eraserIcon_->isHidden();
}

double PEStrokeTool::lineWidth() const {
    return std::max(static_cast<float>(widthSlider_->value() * kStrokePreviewSide), 1.0f);
}

void PEStrokeTool::drawingViewDidPan(UIGestureRecognizer& recognizer) {
    const CGPoint p = recognizer.locationInView(drawingView_.get());
    const auto state = recognizer.state();
    if (state == UIGestureRecognizerState::Began) {
        prevDraggingPosition_ = p;
    }
    if (state != UIGestureRecognizerState::Ended) {
        drawLineTo(prevDraggingPosition_, p);
        didPaintSegment();
    }
    prevDraggingPosition_ = p;
}

std::shared_ptr<UIImage> PEStrokeTool::imageWithSegment(const std::shared_ptr<UIImage>& below,
                                                        const std::shared_ptr<UIColor>& emptyFill,
                                                        CGPoint from, CGPoint to,
                                                        const std::shared_ptr<UIColor>& colour,
                                                        bool clear) const {
    const CGSize size = drawingView_->frame().size;
    UIGraphicsBeginImageContextWithOptions(size, false, 0);
    auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        UIGraphicsEndImageContext();
        return below;
    }
    if (below) {
        below->drawAtPoint(CGPointZero);
    } else if (emptyFill) {
        CGContextSetFillColorWithColor(context, emptyFill->cgColor());
        CGContextFillRect(context, CGRectMake(0, 0, size.width, size.height));
    }
    CGContextSetLineWidth(context, lineWidth());
    CGContextSetStrokeColorWithColor(context, colour->cgColor());
    CGContextSetLineCap(context, kCGLineCapRound);
    if (clear) {
        CGContextSetBlendMode(context, kCGBlendModeClear);
    }
    CGContextMoveToPoint(context, from.x, from.y);
    CGContextAddLineToPoint(context, to.x, to.y);
    CGContextStrokePath(context);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}
