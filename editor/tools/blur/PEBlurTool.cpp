#include "editor/tools/blur/PEBlurTool.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "app/categories/UIView+UIViewx.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEPreviewGate.h"
#include "editor/PEToolPanel.h"
#include "editor/PEToolSlider.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/tools/blur/PEBlurBand.h"
#include "editor/tools/blur/PEBlurCircle.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIPinchGestureRecognizer.h"
#include "platform/uikit/UIRotationGestureRecognizer.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr float kDefaultStrength = 0.2f;

CGRect scaled(const CGRect& rect, double k) {
    return CGRectMake(rect.origin.x * k, rect.origin.y * k, rect.size.width * k, rect.size.height * k);
}

// What a pinch or a turn measures from: the geometry when it began. The gestures run on the
// main thread only, one of each kind at a time.
CGRect pinchStartCircleFrame = CGRectZero;
double pinchStartBandScale = 1;
double rotationStartBandRotation = 0;

// A mask the size of `sharp`: white (blurred) everywhere, with `draw` putting the dark
// shape over it; null when no context can be made.
template <class Draw> std::shared_ptr<UIImage> maskOfSize(CGSize size, Draw draw) {
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
    auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        UIGraphicsEndImageContext();
        return nullptr;
    }
    CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    CGContextFillRect(context, CGRectMake(0, 0, size.width, size.height));
    draw(context);
    auto mask = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return mask;
}
} // namespace

std::string PEBlurTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEBlurEffect_DefaultTitle",
                                                          "Blur & Focus");
}

bool PEBlurTool::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

std::optional<PlistValue::Dictionary> PEBlurTool::ClassMethods::optionalInfo(const Class&) const {
    return PlistValue::Dictionary{{"nonrmalIconAssetsName", ""},
                                  {"circleIconAssetsName", ""},
                                  {"bandIconAssetsName", ""}};
}

void PEBlurTool::setup() {
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    blurType_ = Normal;
    auto imageView = editor->imageView();
    originalImage_ = editor->originalImage();
    thumbnailImage_ = Utility::resize(originalImage_, imageView->frame().size);
    editor->fixZoomScaleWithAnimated(true);
    // The slider and the modes' strip stand on the editor's menu: without it, no tool.
    if (!editor->menuView()) {
        return;
    }

    auto view = editor->view();
    blurSlider_ = sliderWithValueMinimumValueMaximumValue(kDefaultStrength, 0, 1);
    blurSlider_->superview()->setCenter(
        CGPointMake(UIViewx::width(*view) / 2, UIViewx::top(*editor->menuView()) - 30));

    handlerView_ = UIView::initWithFrame(imageView->frame());
    if (auto parent = imageView->superview()) {
        parent->insertSubviewAboveSubview(handlerView_, imageView);
    }
    setHandlerView();

    menuScroll_ = PEToolPanel::menuStrip(*editor);
    setBlurMenu();
    PEToolPanel::slideIn(*editor, menuScroll_);

    // The masks are read here, on the main thread, and only ever drawn afterwards.
    circleMask_ = PEImageEditorTheme::imageNamedImage(className(), "circle.png");
    bandMask_ = PEImageEditorTheme::imageNamedImage(className(), "band.png");
    for (const auto& [mask, name] :
         {std::pair{circleMask_, "circle.png"}, std::pair{bandMask_, "band.png"}}) {
        if (!mask) {
            NSLog("PEBlurTool: the mask %@ is missing; that mode blurs the whole picture", name);
        }
    }
    setDefaultParams();
    sliderDidChange();
}

void PEBlurTool::cleanup() {
    ended_ = true;
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    editor->resetZoomScaleWithAnimated(true);
    if (blurSlider_ && blurSlider_->superview()) {
        blurSlider_->superview()->removeFromSuperview();
    }
    if (handlerView_) {
        handlerView_->removeFromSuperview();
    }
    if (menuScroll_) {
        PEToolPanel::slideOutAndRemove(*editor, menuScroll_);
    }
}

std::shared_ptr<UISlider> PEBlurTool::sliderWithValueMinimumValueMaximumValue(float value,
                                                                            float minimum,
                                                                            float maximum) {
    // Blurring is the costly step: once per release, not per move.
    auto slider = PEToolSlider::sliderInContainer(*editor()->view(), CGSizeMake(260, 30), 280,
                                                  false, value, minimum, maximum);
    slider->addTargetActionForControlEvents(self<PEBlurTool>(),
                                            weakAction(self<PEBlurTool>(), &PEBlurTool::sliderDidChange),
                                            UIControlEventValueChanged);
    return slider;
}

void PEBlurTool::setBlurMenu() {
    const struct {
        BlurType tag;
        const char* titleKey;
        const char* title;
        const char* iconKey;
        const char* icon;
    } items[] = {
        {Normal, "PEBlurEffect_MenuItemNormal", "Normal", "nonrmalIconAssetsName", "btn_normal.png"},
        {Circle, "PEBlurEffect_MenuItemCircle", "Cirlcle", "circleIconAssetsName", "btn_circle.png"},
        {Band, "PEBlurEffect_MenuItemBand", "Band", "bandIconAssetsName", "btn_band.png"},
    };
    const CGRect frame =
        CGRectMake(0, 0, PEToolPanel::kItemWidth, menuScroll_->frame().size.height);
    std::vector<std::shared_ptr<PEToolbarMenuItem>> menu;
    for (const auto& entry : items) {
        auto item = PEImageEditorTheme::menuItemWithFrameTargetActionToolInfo(
            frame, weakSelf<PEBlurTool>(),
            weakAction(self<PEBlurTool>(), &PEBlurTool::tappedBlurMenu), nullptr);
        item->setTag(static_cast<long>(entry.tag));
        item->setTitle(PEImageEditorTheme::localizedStringWithDefault(entry.titleKey, entry.title));
        item->setIconImage(imageForKeyDefaultImageName(entry.iconKey, entry.icon));
        if (!selectedMenu_) {
            setSelectedMenu(item);
        }
        menu.push_back(item);
    }
    PEToolPanel::layOutItems(*menuScroll_, menu);
}

void PEBlurTool::setSelectedMenu(const std::shared_ptr<UIView>& item) {
    if (item == selectedMenu_) {
        return;
    }
    if (selectedMenu_) {
        selectedMenu_->setBackgroundColor(UIColor::clearColor());
    }
    selectedMenu_ = item;
    if (selectedMenu_) {
        selectedMenu_->setBackgroundColor(PEImageEditorTheme::theme()->toolbarSelectedButtonColor());
    }
}

void PEBlurTool::tappedBlurMenu(UIGestureRecognizer& recognizer) {
    auto item = recognizer.view();
    if (!item) {
        return;
    }
    setSelectedMenu(item);
    PEToolPanel::flash(item);
    const auto tag = static_cast<uint64_t>(item->tag());
    if (tag == blurType_) {
        return;
    }
    blurType_ = tag;
    circleView_->removeFromSuperview();
    bandView_->removeFromSuperview();
    if (blurType_ == Circle) {
        handlerView_->addSubview(circleView_);
        circleView_->showOutline();
    } else if (blurType_ == Band) {
        handlerView_->addSubview(bandView_);
        bandView_->showOutline();
    }
    buildThumbnailImage();
}

void PEBlurTool::setHandlerView() {
    auto tool = self<PEBlurTool>();
    auto tap = UITapGestureRecognizer::initWithTargetAction(
        tool, weakAction(tool, &PEBlurTool::tapHandlerView));
    auto pan = UIPanGestureRecognizer::initWithTargetAction(
        tool, weakAction(tool, &PEBlurTool::panHandlerView));
    pan->setMaximumNumberOfTouches(1);
    auto pinch = UIPinchGestureRecognizer::initWithTargetAction(
        tool, weakAction(tool, &PEBlurTool::pinchHandlerView));
    auto rotation = UIRotationGestureRecognizer::initWithTargetAction(
        tool, weakAction(tool, &PEBlurTool::rotateHandlerView));
    for (const std::shared_ptr<UIGestureRecognizer>& recognizer :
         {std::static_pointer_cast<UIGestureRecognizer>(tap),
          std::static_pointer_cast<UIGestureRecognizer>(pinch),
          std::static_pointer_cast<UIGestureRecognizer>(rotation)}) {
        recognizer->setDelegate(std::weak_ptr<UIGestureRecognizerDelegate>(tool));
    }
    handlerView_->addGestureRecognizer(tap);
    handlerView_->addGestureRecognizer(pan);
    handlerView_->addGestureRecognizer(pinch);
    handlerView_->addGestureRecognizer(rotation);
}

bool PEBlurTool::gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(
    UIGestureRecognizer&, UIGestureRecognizer&) {
    return true;
}

void PEBlurTool::setDefaultParams() {
    const double w = UIViewx::width(*handlerView_);
    const double h = UIViewx::height(*handlerView_);
    const double side = 1.5 * std::min(w, h);
    circleView_ = PEBlurCircle::initWithFrame(CGRectMake(w / 2 - side / 2, h / 2 - side / 2, side, side));
    circleView_->setBackgroundColor(UIColor::clearColor());
    circleView_->setColor(UIColor::whiteColor());

    bandView_ = PEBlurBand::initWithFrame(CGRectMake(0, 0, std::sqrt(w * w + h * h), h));
    bandView_->setCenter(CGPointMake(w / 2, h / 2));
    bandView_->setBackgroundColor(UIColor::clearColor());
    bandView_->setColor(UIColor::whiteColor());

    const double imageViewWidth = editor()->imageView()->frame().size.width;
    bandImageRect_ = imageViewWidth > 0
                         ? scaled(bandView_->frame(), originalImage_->size().width / imageViewWidth)
                         : CGRectZero;
}

void PEBlurTool::moveToTouch(UIGestureRecognizer& recognizer) {
    const CGPoint p = recognizer.locationInView(handlerView_.get());
    if (blurType_ == Circle) {
        circleView_->setCenter(p);
    } else if (blurType_ == Band) {
        // The signed distance of the finger from the line through the centre at the band's
        // angle: the band moves under the finger.
        const double dx = p.x - UIViewx::width(*handlerView_) / 2.0;
        const double dy = p.y - UIViewx::height(*handlerView_) / 2.0;
        const double theta = bandView_->rotation();
        bandView_->setOffset(dy * std::cos(theta) - dx * std::sin(theta));
    } else {
        return;
    }
    buildThumbnailImage();
}

void PEBlurTool::tapHandlerView(UIGestureRecognizer& recognizer) {
    moveToTouch(recognizer);
}

void PEBlurTool::panHandlerView(UIGestureRecognizer& recognizer) {
    moveToTouch(recognizer);
}

void PEBlurTool::pinchHandlerView(UIGestureRecognizer& recognizer) {
    const double s = static_cast<UIPinchGestureRecognizer&>(recognizer).scale();
    const bool began = recognizer.state() == UIGestureRecognizerState::Began;
    if (blurType_ == Circle) {
        if (began) {
            pinchStartCircleFrame = circleView_->frame();
        }
        const double w = UIViewx::width(*handlerView_);
        const double h = UIViewx::height(*handlerView_);
        const CGRect start = pinchStartCircleFrame;
        double side = std::min(s * start.size.width, 3 * std::max(w, h));
        side = std::max(side, 0.3 * std::min(w, h));
        circleView_->setFrame(CGRectMake(start.origin.x + (start.size.width - side) / 2,
                                         start.origin.y + (start.size.height - side) / 2, side, side));
    } else if (blurType_ == Band) {
        if (began) {
            pinchStartBandScale = bandView_->scale();
        }
        bandView_->setScale(std::clamp(pinchStartBandScale * s, 0.2, 2.0));
    } else {
        return;
    }
    buildThumbnailImage();
}

void PEBlurTool::rotateHandlerView(UIGestureRecognizer& recognizer) {
    if (blurType_ != Band) {
        return;
    }
    if (recognizer.state() == UIGestureRecognizerState::Began) {
        rotationStartBandRotation = bandView_->rotation();
    }
    const double turn = static_cast<UIRotationGestureRecognizer&>(recognizer).rotation();
    bandView_->setRotation(std::clamp(rotationStartBandRotation + turn, -std::numbers::pi / 2,
                                      std::numbers::pi / 2));
    buildThumbnailImage();
}

PEBlurTool::Parameters PEBlurTool::currentParameters() const {
    Parameters parameters;
    parameters.blurType = blurType_;
    parameters.circleFrame = circleView_ ? circleView_->frame() : CGRectZero;
    if (bandView_) {
        parameters.bandRotation = bandView_->rotation();
        parameters.bandScale = bandView_->scale();
        parameters.bandOffset = bandView_->offset();
    }
    parameters.bandImageRect = bandImageRect_;
    parameters.handlerWidth = handlerView_ ? UIViewx::width(*handlerView_) : 0;
    auto editor = this->editor();
    parameters.imageViewWidth = editor ? editor->imageView()->frame().size.width : 0;
    parameters.originalWidth = originalImage_ ? originalImage_->size().width : 0;
    parameters.circleMask = circleMask_;
    parameters.bandMask = bandMask_;
    return parameters;
}

void PEBlurTool::sliderDidChange() {
    if (ended_) {
        return;
    }
    const uint64_t generation = ++sliderGeneration_;
    dispatch_async(PECoreImageRender::backgroundQueue(), [weakTool = weakSelf<PEBlurTool>(),
                                                          thumbnail = thumbnailImage_,
                                                          strength = blurSlider_->value(),
                                                          generation] {
        auto blurred = Utility::gaussBlur(thumbnail, strength);
        dispatch_async(dispatch_get_main_queue(),
                       weakCall(weakTool, [blurred, generation](PEBlurTool& tool) {
                           if (tool.ended_ || generation != tool.sliderGeneration_ || !blurred) {
                               return;
                           }
                           tool.blurImage_ = blurred;
                           tool.buildThumbnailImage();
                       }));
    });
}

void PEBlurTool::buildThumbnailImage() {
    // Until the first blur is back there is nothing to combine: its arrival asks again.
    if (ended_ || !blurImage_) {
        return;
    }
    PEPreviewGate::of<PEBlurTool>().preview(
        [thumbnail = thumbnailImage_, blurred = blurImage_, parameters = currentParameters()] {
            return buildResultImageWithBlurImage(thumbnail, blurred, parameters);
        },
        weakCall(weakSelf<PEBlurTool>(), [](PEBlurTool& tool, const auto& preview) {
            auto editor = tool.editor();
            if (!tool.ended_ && editor) {
                editor->imageView()->setImage(preview);
            }
        }));
}

void PEBlurTool::executeWithCompletionBlock(Completion completion) {
    if (!editor() || !handlerView_) {
        completion(nullptr, PECoreImageRender::failure(staticClassName(), "The tool is not set up."),
                   nullptr);
        return;
    }
    const CGRect bounds = handlerView_->bounds();
    PEToolPanel::startIndicator(handlerView_, CGPointMake(bounds.size.width / 2, bounds.size.height / 2));
    PECoreImageRender::renderThenAnswer(
        [image = originalImage_, strength = blurSlider_->value(),
         parameters = currentParameters()] {
            return buildResultImageWithBlurImage(image, Utility::gaussBlur(image, strength),
                                                 parameters);
        },
        std::move(completion), staticClassName(), "The picture could not be blurred.");
}

std::shared_ptr<UIImage> PEBlurTool::buildResultImageWithBlurImage(const std::shared_ptr<UIImage>& sharp,
                                                                   const std::shared_ptr<UIImage>& blurred,
                                                                   const Parameters& parameters) {
    switch (parameters.blurType) {
    case Circle:
        return circleBlurImageWithBlurImage(sharp, blurred, parameters);
    case Band:
        return bandBlurImageWithBlurImage(sharp, blurred, parameters);
    default:
        return blurred;
    }
}

std::shared_ptr<UIImage> PEBlurTool::circleBlurImageWithBlurImage(const std::shared_ptr<UIImage>& sharp,
                                                                  const std::shared_ptr<UIImage>& blurred,
                                                                  const Parameters& parameters) {
    if (!sharp || !blurred || parameters.imageViewWidth <= 0) {
        return nullptr;
    }
    const CGSize size = sharp->size();
    const CGRect spot = scaled(parameters.circleFrame, size.width / parameters.imageViewWidth);
    auto mask = maskOfSize(size, [&](const CGContextRef&) {
        if (parameters.circleMask) {
            parameters.circleMask->drawInRect(spot);
        }
    });
    return blurImageWithBlurImageAndMask(sharp, blurred, mask);
}

std::shared_ptr<UIImage> PEBlurTool::bandBlurImageWithBlurImage(const std::shared_ptr<UIImage>& sharp,
                                                                const std::shared_ptr<UIImage>& blurred,
                                                                const Parameters& parameters) {
    if (!sharp || !blurred || parameters.originalWidth <= 0 || parameters.handlerWidth <= 0) {
        return nullptr;
    }
    const CGSize size = sharp->size();
    const double r = size.width / parameters.originalWidth;
    const CGPoint c = CGPointMake(CGRectGetMidX(parameters.bandImageRect),
                                  CGRectGetMidY(parameters.bandImageRect));
    // The band view's own geometry in the picture: scaled about its centre, shifted along
    // its normal, turned about the picture's centre.
    auto mask = maskOfSize(size, [&](const CGContextRef& context) {
        CGContextSaveGState(context);
        CGContextTranslateCTM(context, r * c.x, r * c.y);
        CGContextRotateCTM(context, parameters.bandRotation);
        CGContextTranslateCTM(context, 0, parameters.bandOffset * size.width / parameters.handlerWidth);
        CGContextScaleCTM(context, 1, parameters.bandScale);
        CGContextTranslateCTM(context, -r * c.x, -r * c.y);
        if (parameters.bandMask) {
            parameters.bandMask->drawInRect(scaled(parameters.bandImageRect, r));
        }
        CGContextRestoreGState(context);
    });
    return blurImageWithBlurImageAndMask(sharp, blurred, mask);
}

std::shared_ptr<UIImage> PEBlurTool::blurImageWithBlurImageAndMask(const std::shared_ptr<UIImage>& sharp,
                                                                   const std::shared_ptr<UIImage>& blurred,
                                                                   const std::shared_ptr<UIImage>& mask) {
    auto masked = Utility::maskedImage(sharp, mask);
    if (!masked || !blurred) {
        return nullptr;
    }
    const CGSize size = blurred->size();
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
    if (!UIGraphicsGetCurrentContext()) {
        UIGraphicsEndImageContext();
        return nullptr;
    }
    blurred->drawAtPoint(CGPointMake(0, 0));
    masked->drawInRect(CGRectMake(0, 0, size.width, size.height));
    auto result = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return result;
}
