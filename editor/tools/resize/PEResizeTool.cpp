#include "editor/tools/resize/PEResizeTool.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolPanel.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "editor/tools/resize/_PEResizePanel.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/CGContext.h"
#include "platform/text/NSParagraphStyle.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/ViewRenderer.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>

namespace {
// The switch's column at the strip's right end.
constexpr double kSwitchWidth = 70;
constexpr double kPresetIconSide = 100;

struct SwitchMode {
    const char* iconKey;
    const char* iconFile;
};
// By the switch's tag: presets set the width (0) or the height (1).
constexpr SwitchMode kSwitchModes[] = {{"horizontalIconAssetsName", "btn_width.png"},
                                       {"verticalIconAssetsName", "btn_height.png"}};
} // namespace

std::string PEResizeTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEResizeTool_DefaultTitle", "Resize");
}

bool PEResizeTool::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

double PEResizeTool::ClassMethods::defaultDockedNumber(const Class&) const {
    return 5.5;
}

std::optional<PlistValue::Dictionary> PEResizeTool::ClassMethods::optionalInfo(const Class&) const {
    return PlistValue::Dictionary{
        {"presetSizes", defaultPresetSizes()}, {"limitSize", defaultLimitSize()},
        {"horizontalIconAssetsName", ""},      {"verticalIconAssetsName", ""},
        {"chainOnIconAssetsName", ""},         {"chainOffIconAssetsName", ""}};
}

PlistValue::Array PEResizeTool::defaultPresetSizes() {
    return {240, 320, 480, 640, 800, 960, 1024, 2048};
}

void PEResizeTool::setup() {
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    ended_ = false;
    originalImage_ = editor->originalImage();
    editor->fixZoomScaleWithAnimated(true);
    auto menu = editor->menuView();
    if (!menu) {
        return;
    }
    menuContainer_ = UIView::initWithFrame(menu->frame());
    menuContainer_->setBackgroundColor(menu->backgroundColor());
    editor->view()->addSubview(menuContainer_);
    const CGSize bar = menuContainer_->frame().size;

    menuScroll_ =
        UIScrollView::initWithFrame(CGRectMake(0, 0, bar.width - kSwitchWidth, bar.height));
    menuScroll_->setBackgroundColor(UIColor::clearColor());
    menuScroll_->setShowsHorizontalScrollIndicator(false);
    menuScroll_->setClipsToBounds(false);
    menuContainer_->addSubview(menuScroll_);

    auto column = UIView::initWithFrame(
        CGRectMake(CGRectGetMaxX(menuScroll_->frame()), 0, kSwitchWidth, bar.height));
    auto colour = menuContainer_->backgroundColor();
    column->setBackgroundColor(colour ? colour->colorWithAlphaComponent(0.97) : nullptr);
    menuContainer_->addSubview(column);
    switchBtn_ = PEImageEditorTheme::menuItemWithFrameTargetActionToolInfo(
        CGRectMake(0, 0, kSwitchWidth, bar.height), weakSelf<PEResizeTool>(),
        weakAction(self<PEResizeTool>(), &PEResizeTool::pushedSwitchBtn), nullptr);
    switchBtn_->setTag(0);
    switchBtn_->setIconImage(
        imageForKeyDefaultImageName(kSwitchModes[0].iconKey, kSwitchModes[0].iconFile));
    column->addSubview(switchBtn_);

    auto info = toolInfo();
    const PlistValue* limit = nullptr;
    if (info && info->optionalInfo() && info->optionalInfo()->contains("limitSize")) {
        limit = &info->optionalInfo()->at("limitSize");
    }
    // The limit is a single-precision number.
    const auto limitSize =
        static_cast<float>(limit && !limit->isNull() ? limit->doubleValue() : defaultLimitSize());

    auto area = editor->imageView()->superview();
    resizePanel_ = _PEResizePanel::initWithFrameOriginalSizeTool(
        area ? area->frame() : editor->view()->bounds(),
        originalImage_ ? originalImage_->size() : CGSizeZero, this);
    auto tint = PEImageEditorTheme::theme()->toolbarColor();
    resizePanel_->setBackgroundColor(tint ? tint->colorWithAlphaComponent(0.4) : nullptr);
    resizePanel_->setLimitSize(limitSize);
    editor->view()->addSubview(resizePanel_);

    setResizeMenu();
    PEToolPanel::slideIn(*editor, menuContainer_);
}

void PEResizeTool::setResizeMenu() {
    if (!menuScroll_) {
        return;
    }
    auto info = toolInfo();
    const PlistValue::Array* given = nullptr;
    if (info && info->optionalInfo() && info->optionalInfo()->contains("presetSizes")) {
        given = info->optionalInfo()->at("presetSizes").array();
    }
    const PlistValue::Array sizes = given && !given->empty() ? *given : defaultPresetSizes();
    std::vector<std::shared_ptr<PEToolbarMenuItem>> items;
    const CGRect frame =
        CGRectMake(0, 0, PEToolPanel::kItemWidth, menuScroll_->frame().size.height);
    for (const PlistValue& size : sizes) {
        auto item = PEImageEditorTheme::menuItemWithFrameTargetActionToolInfo(
            frame, weakSelf<PEResizeTool>(),
            weakAction(self<PEResizeTool>(), &PEResizeTool::tappedResizePanel), nullptr);
        PEViewToolInfo::setUserInfo(*item,
                                    NSDictionary::dictionaryWithDictionary({{"size", size}}));
        item->setIconImage(imageWithString(NSString::stringWithFormat("%@", size)));
        items.push_back(item);
    }
    PEToolPanel::layOutItems(*menuScroll_, items);
}

std::shared_ptr<UIImage> PEResizeTool::imageWithString(const std::string& text) {
    auto theme = PEImageEditorTheme::theme();
    const CGSize size = CGSizeMake(kPresetIconSide, kPresetIconSide);
    auto label = UILabel::initWithFrame(CGRectMake(0, 0, size.width, size.height));
    label->setText(text);
    label->setTextAlignment(NSTextAlignment::Center);
    label->setFont(UIFont::boldSystemFontOfSize(30));
    label->setBackgroundColor(theme->toolbarTextColor());
    label->setTextColor(theme->toolbarColor());
    UIGraphicsBeginImageContextWithOptions(size, false, 0);
    auto context = UIGraphicsGetCurrentContext();
    if (context) {
        ViewRenderer::renderInContext(*label, context);
    }
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

void PEResizeTool::pushedSwitchBtn(UIGestureRecognizer&) {
    if (!switchBtn_) {
        return;
    }
    const long tag = switchBtn_->tag() == 1 ? 0 : 1;
    switchBtn_->setTag(tag);
    const SwitchMode& mode = kSwitchModes[tag];
    switchBtn_->setIconImage(imageForKeyDefaultImageName(mode.iconKey, mode.iconFile));
    PEToolPanel::flash(switchBtn_);
}

void PEResizeTool::tappedResizePanel(UIGestureRecognizer& sender) {
    auto item = sender.view();
    if (!item) {
        return;
    }
    auto info = std::dynamic_pointer_cast<NSDictionary>(PEViewToolInfo::userInfo(*item));
    const PlistValue& size = info ? info->objectForKey("size") : PlistValue();
    if (!size.isNull() && resizePanel_ && switchBtn_) {
        const auto value = static_cast<float>(size.doubleValue());
        if (switchBtn_->tag() != 0) {
            resizePanel_->setImageHeight(value);
        } else {
            resizePanel_->setImageWidth(value);
        }
    }
    PEToolPanel::flash(item);
}

void PEResizeTool::executeWithCompletionBlock(Completion completion) {
    if (ended_ || !resizePanel_) {
        return;
    }
    const CGSize size = resizePanel_->imageSize();
    if (!(size.width > 0) || !(size.height > 0)) {
        completion(nullptr,
                   PECoreImageRender::failure(
                       staticClassName(),
                       PEImageEditorTheme::localizedStringWithDefault(
                           "PEResizeTool_EmptySizeMessage", "Enter a new width and height.")),
                   nullptr);
        return;
    }
    dispatch_async(
        dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
        [weakTool = weakSelf<PEResizeTool>(), image = originalImage_, size,
         completion = std::move(completion)]() mutable {
            auto resized = Utility::resize(image, size);
            dispatch_async(
                dispatch_get_main_queue(),
                weakCall(weakTool, [resized,
                                    completion = std::move(completion)](PEResizeTool& tool) {
                    if (tool.ended_) {
                        return;
                    }
                    if (!resized) {
                        completion(nullptr,
                                   PECoreImageRender::failure(staticClassName(),
                                                              "The picture could not be resized."),
                                   nullptr);
                        return;
                    }
                    completion(resized, nullptr, nullptr);
                }));
        });
}

void PEResizeTool::cleanup() {
    ended_ = true;
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    editor->resetZoomScaleWithAnimated(true);
    if (resizePanel_) {
        resizePanel_->endEditing(true);
        resizePanel_->removeFromSuperview();
    }
    if (menuContainer_) {
        PEToolPanel::slideOutAndRemove(*editor, menuContainer_);
    }
}
