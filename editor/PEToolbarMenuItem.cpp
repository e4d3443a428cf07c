#include "editor/PEToolbarMenuItem.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolInfo.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/NSParagraphStyle.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITapGestureRecognizer.h"

std::shared_ptr<PEToolbarMenuItem> PEToolbarMenuItem::initWithFrame(const CGRect& frame) {
    auto item = make<PEToolbarMenuItem>();
    item->setUpWithFrame(frame);
    return item;
}

std::shared_ptr<PEToolbarMenuItem> PEToolbarMenuItem::initWithFrameTargetActionToolInfo(
    const CGRect& frame, std::weak_ptr<NSObject> target, UIGestureRecognizer::Action action,
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    return itemWithFrameTargetActionToolInfo<PEToolbarMenuItem>(frame, std::move(target),
                                                                std::move(action), toolInfo);
}

void PEToolbarMenuItem::setUpWithFrame(const CGRect& frame) {
    setFrame(frame);
    const double width = frame.size.width;
    auto theme = PEImageEditorTheme::theme();

    iconView_ = UIImageView::initWithFrame(CGRectMake(10, 5, width - 20, width - 20));
    iconView_->setClipsToBounds(true);
    iconView_->layer()->setCornerRadius(5);
    iconView_->setContentMode(UIViewContentMode::ScaleAspectFill);
    addSubview(iconView_);

    titleLabel_ =
        UILabel::initWithFrame(CGRectMake(0, CGRectGetMaxY(iconView_->frame()) + 5, width, 15));
    titleLabel_->setBackgroundColor(UIColor::clearColor());
    titleLabel_->setTextColor(theme->toolbarTextColor());
    titleLabel_->setFont(theme->toolbarTextFont());
    titleLabel_->setTextAlignment(NSTextAlignment::Center);
    addSubview(titleLabel_);
}

void PEToolbarMenuItem::setUpTapTargetActionToolInfo(
    std::weak_ptr<NSObject> target, UIGestureRecognizer::Action action,
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    addGestureRecognizer(
        UITapGestureRecognizer::initWithTargetAction(std::move(target), std::move(action)));
    setToolInfo(toolInfo);
}

std::string PEToolbarMenuItem::title() const {
    return titleLabel_->text();
}

void PEToolbarMenuItem::setTitle(std::string title) {
    titleLabel_->setText(std::move(title));
}

std::shared_ptr<UIImage> PEToolbarMenuItem::iconImage() const {
    return iconView_->image();
}

void PEToolbarMenuItem::setIconImage(std::shared_ptr<UIImage> image) {
    iconView_->setImage(std::move(image));
}

void PEToolbarMenuItem::setSelected(bool selected) {
    if (selected == selected_) {
        return;
    }
    selected_ = selected;
    setBackgroundColor(selected ? PEImageEditorTheme::theme()->toolbarSelectedButtonColor()
                                : UIColor::clearColor());
}

void PEToolbarMenuItem::setToolInfo(const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    PEViewToolInfo::setToolInfo(*this, toolInfo);
    setTitle(toolInfo ? toolInfo->title() : std::string());
    setIconImage(toolInfo && toolInfo->iconImagePath() ? toolInfo->iconImage() : nullptr);
}

void PEToolbarMenuItem::setUserInteractionEnabled(bool enabled) {
    UIView::setUserInteractionEnabled(enabled);
    setAlpha(enabled ? 1.0 : 0.3);
}

std::string PEToolbarMenuItem::accessibilityLabel() const {
    const std::string label = UIView::accessibilityLabel();
    return label.empty() ? title() : label;
}
