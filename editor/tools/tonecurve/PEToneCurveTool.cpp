#include "editor/tools/tonecurve/PEToneCurveTool.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEPreviewGate.h"
#include "editor/PEToolPanel.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/tools/tonecurve/PEToneCurveView.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/dispatch/dispatch.h"
#include "platform/quartzcore/CABasicAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/WeakAction.h"

#include <numbers>

namespace {
constexpr double kPanelHeight = 280;
constexpr double kButtonSide = 30;
constexpr const char* kPointKeys[] = {"inputPoint0", "inputPoint1", "inputPoint2", "inputPoint3",
                                      "inputPoint4"};

} // namespace

std::string PEToneCurveTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEToneCurveTool_DefaultTitle",
                                                          "ToneCurve");
}

bool PEToneCurveTool::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

std::optional<PlistValue::Dictionary> PEToneCurveTool::ClassMethods::optionalInfo(const Class&) const {
    return PlistValue::Dictionary{{"arrowIconAssetsName", std::string()},
                                  {"resetIconAssetsName", std::string()}};
}

void PEToneCurveTool::setup() {
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    auto imageView = editor->imageView();
    originalImage_ = editor->originalImage();
    thumbnailImage_ = Utility::resize(originalImage_, imageView->frame().size);
    imageView->setImage(thumbnailImage_);

    auto view = editor->view();
    const CGSize viewSize = view->frame().size;
    menuContainer_ = UIView::initWithFrame(
        CGRectMake(0, viewSize.height - kPanelHeight, viewSize.width, kPanelHeight));
    menuContainer_->setBackgroundColor(UIColor::colorWithWhiteAlpha(1, 0.6));
    view->addSubview(menuContainer_);

    tonecurveView_ = PEToneCurveView::initWithSuperviewFrame(
        menuContainer_, CGRectMake(10, 20, menuContainer_->frame().size.width - 80, 240));
    tonecurveView_->setDelegate(std::static_pointer_cast<PEToneCurveGridDelegate>(
        self<PEToneCurveTool>()));
    tonecurveView_->setBackgroundColor(UIColor::clearColor());
    tonecurveView_->setGridColor(UIColor::colorWithWhiteAlpha(0, 0.2));
    tonecurveView_->setPointColor(UIColor::colorWithWhiteAlpha(0.5, 1));
    tonecurveView_->setLineColor(UIColor::colorWithWhiteAlpha(0.5, 1));
    tonecurveView_->setContinuous(false);

    const CGRect grid = tonecurveView_->frame();
    hideButton_ = UIButton::buttonWithType(UIButtonType::Custom);
    hideButton_->setFrame(CGRectMake(CGRectGetMaxX(grid) + 20, 15, kButtonSide, kButtonSide));
    hideButton_->addTargetActionForControlEvents(self<PEToneCurveTool>(),
                                                 &PEToneCurveTool::pushedHideBtn,
                                                 UIControlEventTouchUpInside);
    hideButton_->setImageForState(imageForKeyDefaultImageName("arrowIconAssetsName", "btn_arrow.png"),
                                  UIControlStateNormal);
    menuContainer_->addSubview(hideButton_);

    resetButton_ = UIButton::buttonWithType(UIButtonType::Custom);
    resetButton_->setFrame(CGRectMake(CGRectGetMaxX(grid) + 20, CGRectGetMaxY(grid) - kButtonSide,
                                      kButtonSide, kButtonSide));
    resetButton_->addTargetActionForControlEvents(self<PEToneCurveTool>(),
                                                  &PEToneCurveTool::pushedResetBtn,
                                                  UIControlEventTouchUpInside);
    resetButton_->setImageForState(imageForKeyDefaultImageName("resetIconAssetsName", "btn_reset.png"),
                                   UIControlStateNormal);
    menuContainer_->addSubview(resetButton_);

    PEToolPanel::slideIn(*editor, menuContainer_);
}

void PEToneCurveTool::cleanup() {
    ended_ = true;
    if (indicatorView_) {
        indicatorView_->removeFromSuperview();
    }
    auto editor = this->editor();
    if (editor && menuContainer_) {
        PEToolPanel::slideOutAndRemove(*editor, menuContainer_);
    }
}

PEToneCurveTool::Curve PEToneCurveTool::curve() const {
    Curve points;
    for (size_t i = 0; i < points.size(); ++i) {
        points[i] = tonecurveView_->pointAt(i);
    }
    return points;
}

std::shared_ptr<UIImage> PEToneCurveTool::filteredImage(const std::shared_ptr<UIImage>& image,
                                                        const Curve& curve) {
    auto filter = PECoreImageRender::filterForImage("CIToneCurve", image);
    if (!filter) {
        return nullptr;
    }
    for (size_t i = 0; i < curve.size(); ++i) {
        filter->setValueForKey(curve[i], kPointKeys[i]);
    }
    return PECoreImageRender::renderedImage(*filter);
}

void PEToneCurveTool::toneCurveDidChange(PEToneCurveView&) {
    if (ended_) {
        return;
    }
    PEPreviewGate::of<PEToneCurveTool>().preview(
        [thumbnail = thumbnailImage_, curve = curve()] { return filteredImage(thumbnail, curve); },
        weakCall(weakSelf<PEToneCurveTool>(), [](PEToneCurveTool& tool, const auto& preview) {
            auto editor = tool.editor();
            if (!tool.ended_ && editor) {
                editor->imageView()->setImage(preview);
            }
        }));
}

void PEToneCurveTool::executeWithCompletionBlock(Completion completion) {
    auto editor = this->editor();
    if (!editor || ended_) {
        completion(nullptr, PECoreImageRender::failure(staticClassName(), "The tool is not open."),
                   nullptr);
        return;
    }
    auto view = editor->view();
    // The spinner stays until the tool ends; an OK after a failed one shows one spinner.
    if (indicatorView_) {
        indicatorView_->removeFromSuperview();
    }
    indicatorView_ = PEToolPanel::startIndicator(view, view->center());
    dispatch_async(PECoreImageRender::backgroundQueue(), [weakTool = weakSelf<PEToneCurveTool>(),
                                                          image = originalImage_, curve = curve(),
                                                          completion =
                                                              std::move(completion)]() mutable {
        auto filtered = filteredImage(image, curve);
        dispatch_async(dispatch_get_main_queue(), [weakTool, filtered,
                                                   completion = std::move(completion)] {
            // The editor ignores a late answer, but it is owed one.
            auto tool = weakTool.lock();
            if (!tool || tool->ended_) {
                completion(nullptr,
                           PECoreImageRender::failure(staticClassName(),
                                                      "The tool ended before the picture was ready."),
                           nullptr);
                return;
            }
            if (!filtered) {
                completion(nullptr,
                           PECoreImageRender::failure(staticClassName(),
                                                      "The picture could not be filtered."),
                           nullptr);
                return;
            }
            completion(filtered, nullptr, nullptr);
        });
    });
}

void PEToneCurveTool::pushedHideBtn(UIButton&) {
    auto editor = this->editor();
    auto menu = editor ? editor->menuView() : nullptr;
    if (!menu) {
        return;
    }
    if (CGAffineTransformIsIdentity(menuContainer_->transform())) {
        const double drop = editor->view()->frame().size.height - menuContainer_->frame().origin.y -
                            menu->frame().size.height;
        PEToolPanel::animate([this, drop] {
            menuContainer_->setTransform(CGAffineTransformMakeTranslation(0, drop));
            hideButton_->setTransform(CGAffineTransformMakeRotation(std::numbers::pi));
            tonecurveView_->setUserInteractionEnabled(false);
        });
    } else {
        PEToolPanel::animate([this] {
            menuContainer_->setTransform(CGAffineTransformIdentity);
            hideButton_->setTransform(CGAffineTransformIdentity);
            tonecurveView_->setUserInteractionEnabled(true);
        });
    }
}

void PEToneCurveTool::pushedResetBtn(UIButton&) {
    tonecurveView_->resetPoints();
    auto spin = CABasicAnimation::animationWithKeyPath("transform.rotation.z");
    spin->setToValue(static_cast<double>(static_cast<float>(-2 * std::numbers::pi)));
    spin->setDuration(0.3);
    spin->setCumulative(true);
    spin->setRepeatCount(1);
    spin->setTimingFunction(kCAMediaTimingFunctionEaseOut);
    resetButton_->layer()->addAnimationForKey(spin, "rotationAnimation");
}
