#include "platform/uikit/UIActivityViewController.h"

#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURL.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScreen.h"

#include <filesystem>

namespace {
constexpr CGFloat kMargin = 8;
constexpr CGFloat kRowHeight = 56;
constexpr CGFloat kThumbnailSize = 44;
constexpr CGFloat kCornerRadius = 12;

const char* const kTargetTypes[] = {UIActivityTypeCopyToPasteboard, UIActivityTypeSaveToCameraRoll,
                                    UIActivityTypeMore};

// Why the item cannot be offered; empty when it can.
std::string refusal(const UIActivityItem& item) {
    if (const auto* url = std::get_if<std::shared_ptr<NSURL>>(&item)) {
        if (!*url) {
            return "a null URL";
        }
        if ((*url)->isFileURL() && !std::filesystem::is_regular_file((*url)->path())) {
            return "the file " + (*url)->path() + " does not exist";
        }
    } else if (const auto* image = std::get_if<std::shared_ptr<UIImage>>(&item); image && !*image) {
        return "a null image";
    }
    return {};
}

std::string describe(const UIActivityItem& item) {
    if (const auto* url = std::get_if<std::shared_ptr<NSURL>>(&item)) {
        return (*url)->isFileURL() ? (*url)->path() : (*url)->absoluteString();
    }
    if (const auto* image = std::get_if<std::shared_ptr<UIImage>>(&item)) {
        const CGSize size = (*image)->size();
        return "image " + std::to_string(static_cast<long>(size.width)) + "x" +
               std::to_string(static_cast<long>(size.height));
    }
    return std::get<std::string>(item);
}

// What the item's row shows: a thumbnail (none for a text or a file that is no image) and
// a name.
std::pair<std::shared_ptr<UIImage>, std::string> rowContents(const UIActivityItem& item) {
    if (const auto* url = std::get_if<std::shared_ptr<NSURL>>(&item)) {
        if (!(*url)->isFileURL()) {
            return {nullptr, (*url)->absoluteString()};
        }
        const std::string path = (*url)->path();
        return {UIImage::imageWithContentsOfFile(path),
                std::filesystem::path(path).filename().string()};
    }
    if (const auto* image = std::get_if<std::shared_ptr<UIImage>>(&item)) {
        return {*image, "Image"};
    }
    return {nullptr, std::get<std::string>(item)};
}

std::shared_ptr<UIButton> sheetButton(const CGRect& frame, const std::string& title, bool bold) {
    auto button = UIButton::buttonWithType(UIButtonType::System);
    button->setFrame(frame);
    button->setTitleForState(title, UIControlStateNormal);
    button->titleLabel()->setFont(bold ? UIFont::boldSystemFontOfSize(18)
                                       : UIFont::systemFontOfSize(16));
    return button;
}

std::shared_ptr<UIView> roundedPanel(const CGRect& frame) {
    auto panel = UIView::initWithFrame(frame);
    panel->setBackgroundColor(UIColor::whiteColor());
    panel->layer()->setCornerRadius(kCornerRadius);
    panel->setClipsToBounds(true);
    return panel;
}
} // namespace

const std::vector<std::string>& UIActivityViewController::targetTitles() {
    static const std::vector<std::string> titles{"Copy", "Save Image", "More…"};
    return titles;
}

std::shared_ptr<UIActivityViewController>
UIActivityViewController::initWithActivityItemsApplicationActivities(
    std::vector<UIActivityItem> items,
    const std::vector<std::shared_ptr<NSObject>>& applicationActivities) {
    if (!applicationActivities.empty()) {
        NSLog("UIActivityViewController: refused: application activities are not offered");
        return nullptr;
    }
    for (const auto& item : items) {
        if (const std::string why = refusal(item); !why.empty()) {
            NSLog("UIActivityViewController: refused: %@", why);
            return nullptr;
        }
    }
    auto sheet = make<UIActivityViewController>();
    sheet->items_ = std::move(items);
    sheet->setModalPresentationStyle(UIModalPresentationStyle::OverFullScreen);
    return sheet;
}

std::string UIActivityViewController::itemsDescription() const {
    std::string text;
    for (const auto& item : items_) {
        text += (text.empty() ? "" : ", ") + describe(item);
    }
    return text;
}

void UIActivityViewController::loadView() {
    const CGRect screen = UIScreen::mainScreen()->bounds();
    auto root = UIView::initWithFrame(screen);
    root->setBackgroundColor(UIColor::colorWithWhiteAlpha(0, 0.4));
    std::weak_ptr<UIActivityViewController> weak = self<UIActivityViewController>();
    const auto chooseOnTap = [&](const std::shared_ptr<UIButton>& button, std::string type,
                                 bool completed) {
        button->addTargetActionForControlEvents(
            weak,
            [weak, type, completed](auto&) {
                if (const auto sheet = weak.lock()) {
                    sheet->choose(type, completed);
                }
            },
            UIControlEventTouchUpInside);
    };

    // From the bottom up: the cancel button, then the panel of items and targets.
    const CGFloat width = screen.size.width - 2 * kMargin;
    const CGRect cancelFrame =
        CGRectMake(kMargin, screen.size.height - kMargin - kRowHeight, width, kRowHeight);
    auto cancelPanel = roundedPanel(cancelFrame);
    auto cancel = sheetButton(CGRectMake(0, 0, width, kRowHeight), kCancelTitle, true);
    chooseOnTap(cancel, "", false);
    cancelPanel->addSubview(cancel);

    const CGFloat panelHeight = kRowHeight * static_cast<CGFloat>(items_.size() + 1);
    auto panel = roundedPanel(
        CGRectMake(kMargin, cancelFrame.origin.y - kMargin - panelHeight, width, panelHeight));
    CGFloat y = 0;
    for (const auto& item : items_) {
        const auto [thumbnail, name] = rowContents(item);
        const CGFloat inset = (kRowHeight - kThumbnailSize) / 2;
        auto thumbnailView = UIImageView::initWithFrame(
            CGRectMake(inset, y + inset, kThumbnailSize, kThumbnailSize));
        thumbnailView->setContentMode(UIViewContentMode::ScaleAspectFill);
        thumbnailView->setClipsToBounds(true);
        thumbnailView->setBackgroundColor(UIColor::lightGrayColor());
        thumbnailView->setImage(thumbnail);
        panel->addSubview(thumbnailView);
        const CGFloat textX = 2 * inset + kThumbnailSize;
        auto label =
            UILabel::initWithFrame(CGRectMake(textX, y, width - textX - inset, kRowHeight));
        label->setText(name);
        label->setFont(UIFont::systemFontOfSize(15));
        panel->addSubview(label);
        y += kRowHeight;
    }
    auto separator = UIView::initWithFrame(CGRectMake(0, y, width, 1));
    separator->setBackgroundColor(UIColor::lightGrayColor());
    panel->addSubview(separator);
    const auto& titles = targetTitles();
    const CGFloat targetWidth = width / static_cast<CGFloat>(titles.size());
    for (size_t i = 0; i < titles.size(); ++i) {
        auto target = sheetButton(
            CGRectMake(targetWidth * static_cast<CGFloat>(i), y, targetWidth, kRowHeight),
            titles[i], false);
        chooseOnTap(target, kTargetTypes[i], true);
        panel->addSubview(target);
    }

    root->addSubview(panel);
    root->addSubview(cancelPanel);
    setView(root);
}

void UIActivityViewController::viewDidAppear(bool) {
    EventLog::record("share", itemsDescription());
}

void UIActivityViewController::choose(const std::string& activityType, bool completed) {
    if (answered_) {
        return;
    }
    answered_ = true;
    auto handler = handler_;
    dismissViewControllerAnimatedCompletion(true, [handler, activityType, completed] {
        if (handler) {
            handler(activityType, completed);
        }
    });
}
