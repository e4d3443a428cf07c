#include "platform/uikit/UINavigationBar.h"

#include "platform/foundation/NSLog.h"
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

std::shared_ptr<UINavigationItem> UINavigationBar::topItem() const {
    return items_.empty() ? nullptr : items_.back();
}

std::shared_ptr<UINavigationItem> UINavigationBar::backItem() const {
    return items_.size() < 2 ? nullptr : items_[items_.size() - 2];
}

void UINavigationBar::setItemsAnimated(std::vector<std::shared_ptr<UINavigationItem>> items, bool) {
    auto oldTop = topItem();
    std::erase(items, nullptr);
    items_ = std::move(items);
    itemsChanged(oldTop);
}

void UINavigationBar::pushNavigationItemAnimated(const std::shared_ptr<UINavigationItem>& item,
                                                 bool) {
    if (!item || std::find(items_.begin(), items_.end(), item) != items_.end()) {
        NSLog("UINavigationBar: an item can be pushed only once, and none is no item");
        return;
    }
    auto oldTop = topItem();
    items_.push_back(item);
    itemsChanged(oldTop);
}

std::shared_ptr<UINavigationItem> UINavigationBar::popNavigationItemAnimated(bool) {
    if (items_.empty()) {
        return nullptr;
    }
    auto popped = items_.back();
    items_.pop_back();
    itemsChanged(popped);
    return popped;
}

void UINavigationBar::itemsChanged(const std::shared_ptr<UINavigationItem>& oldTop) {
    if (oldTop) {
        oldTop->setChangeHandler(nullptr);
    }
    if (auto top = topItem()) {
        top->setChangeHandler(relayoutHandler());
    }
    setNeedsLayout();
}

UIBarPosition UINavigationBar::barPosition() const {
    auto delegate = this->delegate();
    return delegate ? delegate->positionForBar(*this) : UIBarPosition::Any;
}

void UINavigationBar::setBarStyle(UIBarStyle style) {
    barStyle_ = style;
    setNeedsDisplay();
    setNeedsLayout();
}

void UINavigationBar::tappedBack() {
    if (backAction_) {
        backAction_();
    } else {
        popNavigationItemAnimated(true);
    }
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

std::shared_ptr<UIButton> UINavigationBar::textButton(const std::string& title, bool bold) {
    auto button = UIButton::buttonWithType(UIButtonType::System);
    button->setTitleForState(title, UIControlStateNormal);
    button->setTitleColorForState(tintColor_, UIControlStateNormal);
    button->titleLabel()->setFont(bold ? UIFont::boldSystemFontOfSize(kButtonTitleSize)
                                       : UIFont::systemFontOfSize(kButtonTitleSize));
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
        button = textButton(item->title(), item->style() == UIBarButtonItemStyle::Done);
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
    auto topItem = this->topItem();
    auto backItem = this->backItem();
    if (!topItem) {
        return;
    }
    double width = bounds().size.width;
    double leftEdge = kSideMargin, rightEdge = width - kSideMargin;

    std::shared_ptr<UIView> left = viewForItem(topItem->leftBarButtonItem());
    if (!left && backItem && !topItem->hidesBackButton()) {
        auto back = backItem->backBarButtonItem();
        std::string title = back && !back->title().empty() ? back->title()
                            : backItem->title().empty()    ? "Back"
                                                           : backItem->title();
        auto button = textButton("\u2039 " + title, false);
        // Named by its words, without the arrow drawn before them.
        button->setAccessibilityLabel(title);
        button->addTargetActionForControlEvents(
            self<NSObject>(), [this](UIControl&) { tappedBack(); }, UIControlEventTouchUpInside);
        left = button;
    }
    if (left) {
        CGSize size = left->frame().size;
        left->setFrame(CGRectMake(leftEdge, (kHeight - size.height) / 2, size.width, size.height));
        addSubview(left);
        leftEdge += size.width;
    }
    if (auto right = viewForItem(topItem->rightBarButtonItem())) {
        CGSize size = right->frame().size;
        right->setFrame(CGRectMake(rightEdge - size.width, (kHeight - size.height) / 2, size.width,
                                   size.height));
        addSubview(right);
        rightEdge -= size.width;
    }
    // The title keeps to the middle of the bar as long as the buttons leave it room.
    double room = std::max(0.0, 2 * std::min(width / 2 - leftEdge, rightEdge - width / 2));
    if (auto titleView = topItem->titleView()) {
        CGSize size = titleView->frame().size;
        double w = std::min(size.width, room);
        titleView->setFrame(
            CGRectMake((width - w) / 2, (kHeight - size.height) / 2, w, size.height));
        addSubview(titleView);
    } else if (!topItem->title().empty()) {
        auto label = UILabel::initWithFrame(CGRectMake((width - room) / 2, 0, room, kHeight));
        label->setText(topItem->title());
        const auto& font = titleTextAttributes_.font;
        const auto& color = titleTextAttributes_.foregroundColor;
        label->setFont(font ? font : UIFont::boldSystemFontOfSize(kTitleSize));
        label->setTextColor(color                              ? color
                            : barStyle_ == UIBarStyle::Default ? UIColor::blackColor()
                                                               : UIColor::whiteColor());
        label->setTextAlignment(NSTextAlignment::Center);
        addSubview(label);
    }
}

void UINavigationBar::drawRect(const CGRect& rect) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    // A bar attached to the top also fills the status bar above it.
    const double above = barPosition() == UIBarPosition::TopAttached ? kStatusBarHeight : 0;
    CGRect background =
        CGRectMake(rect.origin.x, rect.origin.y - above, rect.size.width, rect.size.height + above);
    const double alpha = translucent_ ? 0.94 : 1.0;
    auto fill = barTintColor_                      ? barTintColor_
                : barStyle_ == UIBarStyle::Default ? UIColor::colorWithWhiteAlpha(0.97, alpha)
                                                   : UIColor::colorWithWhiteAlpha(0.08, alpha);
    CGContextSetFillColorWithColor(context, fill->cgColor());
    CGContextFillRect(context, background);
    CGContextSetFillColorWithColor(context, UIColor::colorWithWhiteAlpha(0, 0.3)->cgColor());
    CGContextFillRect(context,
                      CGRectMake(rect.origin.x, CGRectGetMaxY(rect) - 0.5, rect.size.width, 0.5));
}
