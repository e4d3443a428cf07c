#include "editor/tools/clipping/PEClippingTool.h"

#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolPanel.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/tools/clipping/PEClippingPanel.h"
#include "editor/tools/clipping/PERatio.h"
#include "editor/tools/clipping/PERatioMenuItem.h"
#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>
#include <cmath>

namespace {
// The swap button's column at the strip's right end.
constexpr double kSwapWidth = 70;
constexpr double kSwapButtonSide = 40;
// The shorter side of the picture every item shows.
constexpr double kItemIconSide = 70;
} // namespace

std::string PEClippingTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEClippingTool_DefaultTitle", "Crop");
}

bool PEClippingTool::ClassMethods::isAvailable(const Class&) const {
    return true;
}

std::optional<PlistValue::Dictionary>
PEClippingTool::ClassMethods::optionalInfo(const Class&) const {
    return defaultOptionalInfo();
}

PlistValue::Dictionary PEClippingTool::defaultOptionalInfo() {
    return {{"ratios", defaultPresetRatios()},
            {"swapButtonHidden", defaultSwapButtonHidden()},
            {"rotateIconAssetsName", ""}};
}

PlistValue::Array PEClippingTool::defaultPresetRatios() {
    const std::string custom =
        PEImageEditorTheme::localizedStringWithDefault("PEClippingTool_ItemMenuCustom", "Custom");
    const struct { int value1, value2; } pairs[] = {{0, 0}, {1, 1}, {4, 3}, {3, 2}, {16, 9}};
    PlistValue::Array ratios;
    for (const auto& pair : pairs) {
        ratios.push_back(PlistValue::Dictionary{
            {"value1", pair.value1},
            {"value2", pair.value2},
            {"titleFormat", pair.value1 == 0 ? custom : std::string("%g : %g")}});
    }
    return ratios;
}

bool PEClippingTool::swapButtonHidden() const {
    auto info = toolInfo();
    return info && info->optionalInfo() && (*info->optionalInfo())["swapButtonHidden"].boolValue();
}

void PEClippingTool::setup() {
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    editor->fixZoomScaleWithAnimated(true);
    auto info = toolInfo();
    if (info && !info->optionalInfo()) {
        info->optionalInfo() = defaultOptionalInfo();
    }
    auto menu = editor->menuView();
    if (!menu) {
        return;
    }
    const double swapWidth = swapButtonHidden() ? 0 : kSwapWidth;

    menuContainer_ = UIView::initWithFrame(menu->frame());
    menuContainer_->setBackgroundColor(menu->backgroundColor());
    editor->view()->addSubview(menuContainer_);
    const CGSize bar = menuContainer_->frame().size;

    menuScroll_ = UIScrollView::initWithFrame(CGRectMake(0, 0, bar.width - swapWidth, bar.height));
    menuScroll_->setBackgroundColor(UIColor::clearColor());
    menuScroll_->setShowsHorizontalScrollIndicator(false);
    menuScroll_->setClipsToBounds(false);
    menuContainer_->addSubview(menuScroll_);

    if (swapWidth > 0) {
        auto column = UIView::initWithFrame(
            CGRectMake(CGRectGetMaxX(menuScroll_->frame()), 0, swapWidth, bar.height));
        auto colour = menuContainer_->backgroundColor();
        column->setBackgroundColor(colour ? colour->colorWithAlphaComponent(0.9) : nullptr);
        menuContainer_->addSubview(column);
        swapButton_ = UIButton::buttonWithType(UIButtonType::Custom);
        swapButton_->setFrame(CGRectMake(0, 0, kSwapButtonSide, kSwapButtonSide));
        swapButton_->setCenter(CGPointMake(swapWidth / 2, bar.height / 2 - 10));
        swapButton_->setImageForState(
            imageForKeyDefaultImageName("rotateIconAssetsName", "btn_rotate.png"),
            UIControlStateNormal);
        swapButton_->setAdjustsImageWhenHighlighted(true);
        swapButton_->addTargetActionForControlEvents(
            self<PEClippingTool>(), &PEClippingTool::pushedRotateBtn, UIControlEventTouchUpInside);
        column->addSubview(swapButton_);
    }

    auto imageView = editor->imageView();
    gridView_ = PEClippingPanel::initWithSuperviewFrame(imageView->superview(), imageView->frame());
    gridView_->setBackgroundColor(UIColor::clearColor());
    auto background = editor->view()->backgroundColor();
    gridView_->setBgColor(background ? background->colorWithAlphaComponent(0.8) : nullptr);
    gridView_->setGridColor(UIColor::darkGrayColor()->colorWithAlphaComponent(0.8));
    gridView_->setClipsToBounds(false);

    setCropMenu();
    PEToolPanel::slideIn(*editor, menuContainer_);
}

void PEClippingTool::setCropMenu() {
    auto editor = this->editor();
    auto info = toolInfo();
    if (!editor || !menuScroll_ || !info || !info->optionalInfo()) {
        return;
    }
    const PlistValue::Dictionary& options = *info->optionalInfo();
    const PlistValue::Array* records =
        options.contains("ratios") ? options.at("ratios").array() : nullptr;
    const bool hidden = swapButtonHidden();
    auto picture = editor->originalImage();
    const CGSize size = picture ? picture->size() : CGSizeZero;
    const double shorter = std::min(size.width, size.height);
    auto icon = shorter > 0
                    ? Utility::resize(picture, CGSizeMake(kItemIconSide * size.width / shorter,
                                                          kItemIconSide * size.height / shorter))
                    : nullptr;

    const double height = menuScroll_->frame().size.height;
    double x = 0;
    const size_t count = records ? records->size() : 0;
    for (size_t i = 0; i < count; ++i) {
        const PlistValue& record = (*records)[i];
        if (!record.dictionary()) {
            NSLog("PEClippingTool: ratio %lu is no dictionary and is left out",
                  static_cast<unsigned long>(i));
            continue;
        }
        // The values are single-precision numbers.
        const auto value1 = static_cast<float>(record["value1"].doubleValue());
        const auto value2 = static_cast<float>(record["value2"].doubleValue());
        auto ratio = PERatio::initWithValue1Value2(value1, value2);
        if (const std::string* format = record["titleFormat"].string()) {
            ratio->setTitleFormat(*format);
        }
        ratio->setIsLandscape(hidden ? value1 > value2 : size.width > size.height);

        auto item = PERatioMenuItem::initWithFrameTargetActionToolInfo(
            CGRectMake(x, 0, PEToolPanel::kItemWidth, height), weakSelf<PEClippingTool>(),
            weakAction(self<PEClippingTool>(), &PEClippingTool::tappedMenu), nullptr);
        item->setIconImage(icon);
        item->setRatio(ratio);
        // A single ratio that cannot be turned needs no menu; it still applies.
        if (!(count == 1 && hidden)) {
            menuScroll_->addSubview(item);
            x += PEToolPanel::kItemWidth;
        }
        if (!selectedMenu_) {
            setSelectedMenu(item);
        }
    }
    menuScroll_->setContentSize(CGSizeMake(std::max(x, menuScroll_->frame().size.width + 1), 0));
}

void PEClippingTool::tappedMenu(UIGestureRecognizer& sender) {
    auto item = std::dynamic_pointer_cast<PERatioMenuItem>(sender.view());
    if (!item) {
        return;
    }
    PEToolPanel::flash(item);
    setSelectedMenu(item);
}

void PEClippingTool::setSelectedMenu(const std::shared_ptr<PERatioMenuItem>& item) {
    if (item == selectedMenu_) {
        return;
    }
    if (selectedMenu_) {
        selectedMenu_->setSelected(false);
    }
    selectedMenu_ = item;
    if (!item) {
        return;
    }
    item->setSelected(true);
    if (gridView_) {
        auto ratio = item->ratio();
        gridView_->setClippingRatio(ratio && ratio->ratio() != 0 ? ratio : nullptr);
    }
}

void PEClippingTool::pushedRotateBtn() {
    if (!menuScroll_) {
        return;
    }
    for (const auto& view : menuScroll_->subviews()) {
        if (auto item = std::dynamic_pointer_cast<PERatioMenuItem>(view)) {
            item->changeOrientation();
        }
    }
    auto ratio = gridView_ ? gridView_->clippingRatio() : nullptr;
    const double r = ratio ? ratio->ratio() : 0;
    if (r != 0 && r != 1) {
        gridView_->clippingRatioDidChange();
    }
}

void PEClippingTool::executeWithCompletionBlock(Completion completion) {
    auto editor = this->editor();
    auto imageView = editor ? editor->imageView() : nullptr;
    auto image = imageView ? imageView->image() : nullptr;
    if (!image || !gridView_) {
        completion(nullptr,
                   PECoreImageRender::failure(staticClassName(), "There is no picture to crop."),
                   nullptr);
        return;
    }
    // The grid is measured in the image view's units; the picture in its own points.
    const CGSize size = image->size();
    const double zoom = imageView->frame().size.width / size.width;
    const CGRect shown = gridView_->clippingRect();
    // Whole pixels of the picture, inside it: a part pixel or a part outside would come
    // out partly transparent.
    const double scale = image->scale();
    const auto pixel = [&](double points, double limit) {
        const double value = std::round(points / zoom * scale);
        return std::isfinite(value) ? std::clamp(value, 0.0, std::round(limit * scale)) : 0.0;
    };
    const double x0 = pixel(CGRectGetMinX(shown), size.width);
    const double x1 = pixel(CGRectGetMaxX(shown), size.width);
    const double y0 = pixel(CGRectGetMinY(shown), size.height);
    const double y1 = pixel(CGRectGetMaxY(shown), size.height);
    auto cropped = x1 > x0 && y1 > y0
                       ? Utility::crop(image, CGRectMake(x0 / scale, y0 / scale, (x1 - x0) / scale,
                                                         (y1 - y0) / scale))
                       : nullptr;
    if (!cropped) {
        completion(
            nullptr,
            PECoreImageRender::failure(staticClassName(), "The crop holds nothing of the picture."),
            nullptr);
        return;
    }
    completion(cropped, nullptr, nullptr);
}

void PEClippingTool::cleanup() {
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    editor->resetZoomScaleWithAnimated(true);
    if (gridView_) {
        gridView_->removeFromSuperview();
    }
    if (menuContainer_) {
        PEToolPanel::slideOutAndRemove(*editor, menuContainer_);
    }
}
