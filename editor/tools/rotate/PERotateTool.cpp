#include "editor/tools/rotate/PERotateTool.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEToolPanel.h"
#include "editor/PEToolSlider.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/tools/rotate/PERotatePanel.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/dispatch/dispatch.h"
#include "platform/graphics/NSValue.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
// The turned picture fills the picture area but for this margin.
constexpr double kFit = 0.95;

struct MenuEntry {
    const char* titleKey;
    const char* iconKey;
    const char* iconFile;
};
// In tag order: quarter turn, mirror left to right, mirror top to bottom.
constexpr MenuEntry kMenu[] = {
    {"PERotateTool_MenuItemRotateTitle", "rotateIconAssetsName", "btn_rotate.png"},
    {"PERotateTool_MenuItemFlipTitle1", "flipHorizontalIconAssetsName", "btn_flip1.png"},
    {"PERotateTool_MenuItemFlipTitle2", "flipVerticalIconAssetsName", "btn_flip2.png"},
};
} // namespace

std::string PERotateTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PERotateTool_DefaultTitle", "Rotate");
}

bool PERotateTool::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

std::optional<PlistValue::Dictionary> PERotateTool::ClassMethods::optionalInfo(const Class&) const {
    PlistValue::Dictionary info;
    for (const MenuEntry& entry : kMenu) {
        info[entry.iconKey] = std::string();
    }
    return info;
}

void PERotateTool::setup() {
    auto editor = this->editor();
    // The slider and the strip stand on the editor's menu: without it, no tool.
    if (!editor || !editor->menuView()) {
        return;
    }
    executed_ = false;
    editor->fixZoomScaleWithAnimated(true);
    auto imageView = editor->imageView();
    initialRect_ = imageView->frame();
    flipState1_ = flipState2_ = 0;

    gridView_ = PERotatePanel::initWithSuperviewFrame(imageView->superview(), imageView->frame());
    gridView_->setBackgroundColor(UIColor::clearColor());
    gridView_->setGridColor(UIColor::darkGrayColor()->colorWithAlphaComponent(0.8));
    gridView_->setClipsToBounds(false);

    rotateSlider_ = sliderWithValueMinimumValueMaximumValue(0, -1, 1);
    rotateSlider_->superview()->setCenter(CGPointMake(editor->view()->frame().size.width / 2,
                                                      editor->menuView()->frame().origin.y - 30));

    menuScroll_ = PEToolPanel::menuStrip(*editor);
    setMenu();
    PEToolPanel::slideIn(*editor, menuScroll_,
                         weakCall(weakSelf<PERotateTool>(),
                                  [](PERotateTool& tool, bool) { tool.showPreview(); }));
}

void PERotateTool::showPreview() {
    auto editor = this->editor();
    if (ended_ || !editor || !gridView_->superview()) {
        return;
    }
    auto imageView = editor->imageView();
    rotateImageView_ = UIImageView::initWithFrame(initialRect_);
    rotateImageView_->setImage(imageView->image());
    gridView_->superview()->insertSubviewBelowSubview(rotateImageView_, gridView_);
    imageView->setHidden(true);
}

std::shared_ptr<UISlider> PERotateTool::sliderWithValueMinimumValueMaximumValue(float value,
                                                                                float minimum,
                                                                                float maximum) {
    auto slider = PEToolSlider::sliderInContainer(*editor()->view(), CGSizeMake(260, 30), 280, true,
                                                  value, minimum, maximum);
    slider->addTargetActionForControlEvents(self<PERotateTool>(), &PERotateTool::sliderDidChange,
                                            UIControlEventValueChanged);
    return slider;
}

void PERotateTool::sliderDidChange(UISlider&) {
    rotateStateDidChange();
}

void PERotateTool::setMenu() {
    const CGRect frame =
        CGRectMake(0, 0, PEToolPanel::kItemWidth, menuScroll_->frame().size.height);
    std::vector<std::shared_ptr<PEToolbarMenuItem>> items;
    for (size_t tag = 0; tag < std::size(kMenu); ++tag) {
        auto item = PEImageEditorTheme::menuItemWithFrameTargetActionToolInfo(
            frame, weakSelf<PERotateTool>(),
            weakAction(self<PERotateTool>(), &PERotateTool::tappedMenu), nullptr);
        item->setTag(static_cast<long>(tag));
        item->setIconImage(imageForKeyDefaultImageName(kMenu[tag].iconKey, kMenu[tag].iconFile));
        item->setTitle(PEImageEditorTheme::localizedStringWithDefault(kMenu[tag].titleKey, " "));
        items.push_back(item);
    }
    PEToolPanel::layOutItems(*menuScroll_, items);
}

void PERotateTool::tappedMenu(UIGestureRecognizer& sender) {
    auto item = sender.view();
    if (!item || ended_) {
        return;
    }
    PEToolPanel::flash(item);
    switch (item->tag()) {
    case 0: {
        // The next quarter turn clockwise: [-1, -0.5) to -0.5, ..., [0.5, 1) to 1, and 1
        // wraps round to -0.5.
        const int k = static_cast<int>(std::floor(2 * (rotateSlider_->value() + 1.0)));
        const int n = k > 3 ? k + 1 - 4 : k + 1;
        rotateSlider_->setValue(static_cast<float>(n * 0.5 - 1));
        gridView_->setHidden(true);
        break;
    }
    case 1:
        flipState1_ = 1 - flipState1_;
        break;
    case 2:
        flipState2_ = 1 - flipState2_;
        break;
    default:
        break;
    }
    PEToolPanel::animate([this] { rotateStateDidChange(); },
                         [grid = gridView_](bool) { grid->setHidden(false); });
}

PERotateTool::State PERotateTool::state() const {
    return {rotateSlider_ ? rotateSlider_->value() : 0.0, flipState1_ != 0, flipState2_ != 0};
}

CATransform3D PERotateTool::rotateTransformWithState(const CATransform3D& transform,
                                                     const State& state, bool clockwise) {
    const double angle = (clockwise ? 1 : -1) * state.angle * std::numbers::pi;
    CATransform3D t = CATransform3DRotate(transform, angle, 0, 0, 1);
    t = CATransform3DRotate(t, state.flipLeftRight ? std::numbers::pi : 0, 0, 1, 0);
    return CATransform3DRotate(t, state.flipTopBottom ? std::numbers::pi : 0, 1, 0, 0);
}

CATransform3D PERotateTool::rotateTransformClockwise(const CATransform3D& transform,
                                                     bool clockwise) const {
    return rotateTransformWithState(transform, state(), clockwise);
}

void PERotateTool::rotateStateDidChange() {
    if (!rotateImageView_) {
        return;
    }
    CATransform3D t = rotateTransformClockwise(CATransform3DIdentity, true);
    const double theta = state().angle * std::numbers::pi;
    const double w = initialRect_.size.width, h = initialRect_.size.height;
    const double turnedWidth = std::abs(w * std::cos(theta)) + std::abs(h * std::sin(theta));
    const double turnedHeight = std::abs(w * std::sin(theta)) + std::abs(h * std::cos(theta));
    if (turnedWidth > 0 && turnedHeight > 0) {
        const CGSize area = gridView_->frame().size;
        const double s = kFit * std::min(area.width / turnedWidth, area.height / turnedHeight);
        t = CATransform3DScale(t, s, s, 1);
    }
    rotateImageView_->layer()->setTransform(t);
    gridView_->setGridRect(rotateImageView_->frame());
}

std::shared_ptr<UIImage> PERotateTool::turnedImage(const std::shared_ptr<UIImage>& image,
                                                   const CGAffineTransform& transform) {
    auto filter = PECoreImageRender::filterForImage("CIAffineTransform", image);
    if (!filter) {
        return nullptr;
    }
    filter->setValueForKey(NSValue::valueWithCGAffineTransform(transform), "inputTransform");
    return PECoreImageRender::renderedImage(*filter);
}

void PERotateTool::executeWithCompletionBlock(Completion completion) {
    auto editor = this->editor();
    if (!editor || ended_) {
        completion(nullptr, PECoreImageRender::failure(staticClassName(), "The tool is not open."),
                   nullptr);
        return;
    }
    if (gridView_) {
        PEToolPanel::startIndicator(gridView_, CGPointMake(gridView_->frame().size.width / 2,
                                                           gridView_->frame().size.height / 2));
    }
    // The filter engine's y axis points up: the angle turns the other way to match the
    // preview; the mirrors are the same either way.
    const CGAffineTransform transform =
        CATransform3DGetAffineTransform(rotateTransformClockwise(CATransform3DIdentity, false));
    dispatch_async(
        PECoreImageRender::backgroundQueue(),
        [weakTool = weakSelf<PERotateTool>(), image = editor->originalImage(), transform,
         completion = std::move(completion)]() mutable {
            auto turned = turnedImage(image, transform);
            dispatch_async(dispatch_get_main_queue(), [weakTool, turned,
                                                       completion = std::move(completion)] {
                // The editor ignores a late answer, but it is owed one.
                auto tool = weakTool.lock();
                if (!tool || tool->ended_) {
                    completion(nullptr,
                               PECoreImageRender::failure(
                                   staticClassName(), "The tool ended before the picture was ready."),
                               nullptr);
                    return;
                }
                if (!turned) {
                    completion(nullptr,
                               PECoreImageRender::failure(staticClassName(),
                                                          "The picture could not be turned."),
                               nullptr);
                    return;
                }
                tool->executed_ = true;
                completion(turned, nullptr, nullptr);
            });
        });
}

void PERotateTool::cleanup() {
    ended_ = true;
    auto editor = this->editor();
    if (!editor || !menuScroll_) {
        return;
    }
    if (auto container = rotateSlider_->superview()) {
        container->removeFromSuperview();
    }
    gridView_->removeFromSuperview();
    auto imageView = editor->imageView();
    if (executed_ && rotateImageView_) {
        // The editor shows the result by now: the preview takes its place without a jump.
        editor->resetZoomScaleWithAnimated(false);
        editor->fixZoomScaleWithAnimated(false);
        rotateImageView_->layer()->setTransform(CATransform3DIdentity);
        rotateImageView_->setFrame(imageView->frame());
        rotateImageView_->setImage(imageView->image());
    }
    editor->resetZoomScaleWithAnimated(false);
    const double drop = PEToolPanel::dropOutOfSight(*editor, *menuScroll_);
    PEToolPanel::animate(
        [strip = menuScroll_, preview = rotateImageView_, imageView, drop] {
            strip->setTransform(CGAffineTransformMakeTranslation(0, drop));
            if (preview) {
                preview->layer()->setTransform(CATransform3DIdentity);
                preview->setFrame(imageView->frame());
            }
        },
        [strip = menuScroll_, preview = rotateImageView_, imageView](bool) {
            strip->removeFromSuperview();
            if (preview) {
                preview->removeFromSuperview();
            }
            imageView->setHidden(false);
        });
}
