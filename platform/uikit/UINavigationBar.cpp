#include "platform/uikit/UINavigationBar.h"

#include "platform/graphics/CGContext.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationItem.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kSideMargin = 8;
constexpr double kButtonPadding = 8;
constexpr double kTitleSize = 17;
constexpr double kButtonTitleSize = 17;
} // namespace

UINavigationBar::UINavigationBar()
    : tintColor_(UIColor::colorWithRedGreenBlueAlpha(0, 0.478, 1, 1)) {
    setOpaque(false);
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
}

std::shared_ptr<UINavigationBar> UINavigationBar::initWithFrame(const CGRect& frame) {
    auto bar = make<UINavigationBar>();
    bar->setFrame(frame);
    return bar;
}

void UINavigationBar::setItems(std::shared_ptr<UINavigationItem> topItem,
                               std::shared_ptr<UINavigationItem> backItem) {
    if (topItem_) {
        topItem_->setChangeHandler(nullptr);
    }
    topItem_ = std::move(topItem);
    backItem_ = std::move(backItem);
    if (topItem_) {
        topItem_->setChangeHandler(relayoutHandler());
    }
    setNeedsLayout();
}

std::function<void()> UINavigationBar::relayoutHandler() {
    std::weak_ptr<UINavigationBar> weak = self<UINavigationBar>();
    return [weak] {
        if (auto bar = weak.lock()) {
            bar->setNeedsLayout();
        }
    };
}

void UINavigationBar::setBarTintColor(std::shared_ptr<UIColor> color) {
    barTintColor_ = std::move(color);
    setNeedsDisplay();
}

void UINavigationBar::setTintColor(std::shared_ptr<UIColor> color) {
    tintColor_ = std::move(color);
    setNeedsLayout();
}

void UINavigationBar::setTitleTextAttributes(NSTextAttributes attributes) {
    titleTextAttributes_ = std::move(attributes);
    setNeedsLayout();
}

std::shared_ptr<UIButton> UINavigationBar::textButton(const std::string& title) {
    auto button = UIButton::buttonWithType(UIButtonType::System);
    button->setTitleForState(title, UIControlStateNormal);
    button->setTitleColorForState(tintColor_, UIControlStateNormal);
    button->titleLabel()->setFont(UIFont::systemFontOfSize(kButtonTitleSize));
    NSTextAttributes attributes;
    attributes.font = button->titleLabel()->font();
    double width =
        NSStringDrawing::sizeWithAttributes(title, attributes).width + 2 * kButtonPadding;
    button->setFrame(CGRectMake(0, 0, std::ceil(width), kHeight));
    return button;
}

std::shared_ptr<UIView> UINavigationBar::viewForItem(const std::shared_ptr<UIBarButtonItem>& item) {
    if (!item) {
        return nullptr;
    }
    if (auto custom = item->customView()) {
        return custom;
    }
    std::shared_ptr<UIButton> button;
    if (auto image = item->image()) {
        button = UIButton::buttonWithType(UIButtonType::System);
        button->setImageForState(image, UIControlStateNormal);
        button->setFrame(CGRectMake(0, 0, std::max(kHeight, image->size().width), kHeight));
    } else {
        button = textButton(item->title());
        if (auto tint = item->tintColor()) {
            button->setTitleColorForState(tint, UIControlStateNormal);
        }
    }
    button->setEnabled(item->isEnabled());
    // The button is made anew on each layout; a change of the item asks for one.
    item->setChangeHandler(relayoutHandler());
    if (!item->accessibilityLabel().empty()) {
        button->setAccessibilityLabel(item->accessibilityLabel());
    }
    std::weak_ptr<UIBarButtonItem> weakItem = item;
    button->addTargetActionForControlEvents(
        item,
        [weakItem](UIControl&) {
            if (auto target = weakItem.lock()) {
                target->performAction();
            }
        },
        UIControlEventTouchUpInside);
    return button;
}

void UINavigationBar::layoutSubviews() {
    for (const auto& subview : subviews()) {
        subview->removeFromSuperview();
    }
    if (!topItem_) {
        return;
    }
    double width = bounds().size.width;
    double leftEdge = kSideMargin, rightEdge = width - kSideMargin;

    std::shared_ptr<UIView> left = viewForItem(topItem_->leftBarButtonItem());
    if (!left && backItem_ && !topItem_->hidesBackButton()) {
        auto back = backItem_->backBarButtonItem();
        std::string title = back && !back->title().empty() ? back->title()
                            : backItem_->title().empty()   ? "Back"
                                                           : backItem_->title();
        auto button = textButton("\u2039 " + title);
        // Named by its words, without the arrow drawn before them.
        button->setAccessibilityLabel(title);
        button->addTargetActionForControlEvents(
            self<NSObject>(),
            [this](UIControl&) {
                if (backAction_) {
                    backAction_();
                }
            },
            UIControlEventTouchUpInside);
        left = button;
    }
    if (left) {
        CGSize size = left->frame().size;
        left->setFrame(CGRectMake(leftEdge, (kHeight - size.height) / 2, size.width, size.height));
        addSubview(left);
        leftEdge += size.width;
    }
    if (auto right = viewForItem(topItem_->rightBarButtonItem())) {
        CGSize size = right->frame().size;
        right->setFrame(CGRectMake(rightEdge - size.width, (kHeight - size.height) / 2, size.width,
                                   size.height));
        addSubview(right);
        rightEdge -= size.width;
    }
    // The title keeps to the middle of the bar as long as the buttons leave it room.
    double room = std::max(0.0, 2 * std::min(width / 2 - leftEdge, rightEdge - width / 2));
    if (auto titleView = topItem_->titleView()) {
        CGSize size = titleView->frame().size;
        double w = std::min(size.width, room);
        titleView->setFrame(
            CGRectMake((width - w) / 2, (kHeight - size.height) / 2, w, size.height));
        addSubview(titleView);
    } else if (!topItem_->title().empty()) {
        auto label = UILabel::initWithFrame(CGRectMake((width - room) / 2, 0, room, kHeight));
        label->setText(topItem_->title());
        const auto& font = titleTextAttributes_.font;
        const auto& color = titleTextAttributes_.foregroundColor;
        label->setFont(font ? font : UIFont::boldSystemFontOfSize(kTitleSize));
        label->setTextColor(color ? color : UIColor::blackColor());
        label->setTextAlignment(NSTextAlignment::Center);
        addSubview(label);
    }
}

void UINavigationBar::drawRect(const CGRect& rect) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    // The bar's background also fills the status bar above it.
    CGRect background = CGRectMake(rect.origin.x, rect.origin.y - kStatusBarHeight, rect.size.width,
                                   rect.size.height + kStatusBarHeight);
    auto fill = barTintColor_ ? barTintColor_
                              : UIColor::colorWithWhiteAlpha(0.97, translucent_ ? 0.94 : 1.0);
    CGContextSetFillColorWithColor(context, fill->cgColor());
    CGContextFillRect(context, background);
    CGContextSetFillColorWithColor(context, UIColor::colorWithWhiteAlpha(0, 0.3)->cgColor());
    CGContextFillRect(context,
                      CGRectMake(rect.origin.x, CGRectGetMaxY(rect) - 0.5, rect.size.width, 0.5));
}
