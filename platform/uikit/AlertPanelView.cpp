#include "platform/uikit/AlertPanelView.h"

#include "platform/graphics/CGContext.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UITouch.h"

#include <algorithm>

namespace {
constexpr double kPanelWidth = 270;
constexpr double kSheetMargin = 8;
constexpr double kButtonHeight = 44;
constexpr double kPadding = 16;
constexpr double kTitleSize = 17;
constexpr double kMessageSize = 13;
constexpr double kButtonTitleSize = 17;

NSTextAttributes attributes(std::shared_ptr<UIFont> font, std::shared_ptr<UIColor> color) {
    NSTextAttributes a;
    a.font = std::move(font);
    a.foregroundColor = std::move(color);
    auto style = std::make_shared<NSParagraphStyle>();
    style->setAlignment(NSTextAlignment::Center);
    a.paragraphStyle = style;
    return a;
}

NSTextAttributes titleAttributes() {
    return attributes(UIFont::boldSystemFontOfSize(kTitleSize), UIColor::blackColor());
}
NSTextAttributes messageAttributes() {
    return attributes(UIFont::systemFontOfSize(kMessageSize), UIColor::blackColor());
}

double measuredHeight(const std::string& text, const NSTextAttributes& a, double width) {
    if (text.empty()) {
        return 0;
    }
    return NSStringDrawing::boundingRectWithSizeOptionsAttributes(
               text, CGSizeMake(width, 10000), NSStringDrawingUsesLineFragmentOrigin, a)
        .size.height;
}
} // namespace

AlertPanelView::AlertPanelView() {
    setOpaque(false);
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
}

std::shared_ptr<AlertPanelView>
AlertPanelView::initWithScreen(const CGRect& screen, std::string title, std::string message,
                               std::vector<std::string> buttons, bool actionSheet,
                               std::optional<size_t> cancelButton) {
    auto view = make<AlertPanelView>();
    view->setFrame(screen);
    view->title_ = std::move(title);
    view->message_ = std::move(message);
    view->buttons_ = std::move(buttons);
    view->actionSheet_ = actionSheet;
    view->cancelButton_ = cancelButton;
    return view;
}

double AlertPanelView::textHeight() const {
    double width = kPanelWidth - 2 * kPadding;
    double title = measuredHeight(title_, titleAttributes(), width);
    double message = measuredHeight(message_, messageAttributes(), width);
    double gap = title > 0 && message > 0 ? 4 : 0;
    return title + gap + message + ((title + message) > 0 ? 2 * kPadding : 0);
}

std::optional<size_t> AlertPanelView::separateCancel() const {
    if (actionSheet_ && cancelButton_ && *cancelButton_ < buttons_.size()) {
        return cancelButton_;
    }
    return std::nullopt;
}

CGRect AlertPanelView::panelRect() const {
    CGRect b = bounds();
    bool row = !actionSheet_ && buttons_.size() == 2;
    const auto cancel = separateCancel();
    double inPanel = static_cast<double>(buttons_.size() - (cancel ? 1 : 0));
    double height = textHeight() + kButtonHeight * (row ? 1 : inPanel);
    if (actionSheet_) {
        double width = b.size.width - 2 * kSheetMargin;
        // The cancel group takes the bottom, the same margin apart from the panel.
        double bottom = b.size.height - kSheetMargin - (cancel ? kButtonHeight + kSheetMargin : 0);
        return CGRectMake(kSheetMargin, bottom - height, width, height);
    }
    return CGRectMake((b.size.width - kPanelWidth) / 2, (b.size.height - height) / 2, kPanelWidth,
                      height);
}

std::vector<CGRect> AlertPanelView::buttonRects() const {
    CGRect panel = panelRect();
    double top = panel.origin.y + textHeight();
    std::vector<CGRect> rects;
    bool row = !actionSheet_ && buttons_.size() == 2;
    const auto cancel = separateCancel();
    double slot = 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (i == cancel) {
            rects.push_back(CGRectMake(panel.origin.x, CGRectGetMaxY(panel) + kSheetMargin,
                                       panel.size.width, kButtonHeight));
        } else if (row) {
            double half = panel.size.width / 2;
            rects.push_back(CGRectMake(panel.origin.x + half * slot, top, half, kButtonHeight));
        } else {
            rects.push_back(CGRectMake(panel.origin.x, top + kButtonHeight * slot, panel.size.width,
                                       kButtonHeight));
        }
        slot += i == cancel ? 0 : 1;
    }
    return rects;
}

std::optional<CGRect> AlertPanelView::buttonRectForTitle(const std::string& title) const {
    auto rects = buttonRects();
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i] == title) {
            return rects[i];
        }
    }
    return std::nullopt;
}

bool AlertPanelView::tapAtPoint(const CGPoint& point) {
    auto rects = buttonRects();
    for (size_t i = 0; i < rects.size(); ++i) {
        if (CGRectContainsPoint(rects[i], point)) {
            if (handler_) {
                handler_(buttons_[i]);
            }
            return true;
        }
    }
    return false;
}

void AlertPanelView::touchesEndedWithEvent(const UITouchSet& touches, const UIEvent*) {
    if (!touches.empty()) {
        tapAtPoint((*touches.begin())->locationInView(this));
    }
}

void AlertPanelView::drawRect(const CGRect&) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    CGContextSetFillColorWithColor(context, UIColor::colorWithWhiteAlpha(0, 0.4)->cgColor());
    CGContextFillRect(context, bounds());

    CGRect panel = panelRect();
    auto rects = buttonRects();
    const auto cancel = separateCancel();
    CGContextAddPath(context, CGPathCreateWithRoundedRect(panel, 13, 13, nullptr));
    if (cancel) {
        CGContextAddPath(context, CGPathCreateWithRoundedRect(rects[*cancel], 13, 13, nullptr));
    }
    CGContextSetFillColorWithColor(context, UIColor::colorWithWhiteAlpha(0.97, 1)->cgColor());
    CGContextFillPath(context);

    double width = kPanelWidth - 2 * kPadding;
    double y = panel.origin.y + kPadding;
    if (!title_.empty()) {
        double h = measuredHeight(title_, titleAttributes(), width);
        NSStringDrawing::drawInRectWithAttributes(
            title_, CGRectMake(panel.origin.x + (panel.size.width - width) / 2, y, width, h),
            titleAttributes());
        y += h + 4;
    }
    if (!message_.empty()) {
        double h = measuredHeight(message_, messageAttributes(), width);
        NSStringDrawing::drawInRectWithAttributes(
            message_, CGRectMake(panel.origin.x + (panel.size.width - width) / 2, y, width, h),
            messageAttributes());
    }

    auto tint = UIColor::colorWithRedGreenBlueAlpha(0, 0.478, 1, 1);
    CGContextSetFillColorWithColor(context, UIColor::colorWithWhiteAlpha(0.8, 1)->cgColor());
    // A hairline above each button with text or another button above it in its group (the
    // top of a group is its rounded edge), and between the two buttons of a row.
    for (size_t i = 0; i < rects.size(); ++i) {
        const CGRect& r = rects[i];
        if (i != cancel && r.origin.y > panel.origin.y) {
            CGContextFillRect(context, CGRectMake(r.origin.x, r.origin.y, r.size.width, 0.5));
        }
        if (i > 0 && rects[i].origin.y == rects[i - 1].origin.y) {
            CGContextFillRect(context, CGRectMake(r.origin.x, r.origin.y, 0.5, r.size.height));
        }
    }
    for (size_t i = 0; i < rects.size(); ++i) {
        // The button that backs out reads heavier than the choices.
        static const auto choiceFont = UIFont::systemFontOfSize(kButtonTitleSize);
        static const auto backOutFont =
            UIFont::systemFontOfSizeWeight(kButtonTitleSize, UIFontWeightSemibold);
        auto a = attributes(i == cancelButton_ ? backOutFont : choiceFont, tint);
        double h = NSStringDrawing::sizeWithAttributes(buttons_[i], a).height;
        CGRect r = rects[i];
        NSStringDrawing::drawInRectWithAttributes(
            buttons_[i],
            CGRectMake(r.origin.x + 4, r.origin.y + (r.size.height - h) / 2, r.size.width - 8, h),
            a);
    }
}

std::string AlertPanelView::logText(const std::string& title, const std::string& message,
                                    const std::vector<std::string>& buttons) {
    std::string text = title;
    if (!message.empty()) {
        text += (text.empty() ? "" : ": ") + message;
    }
    text += " [";
    for (size_t i = 0; i < buttons.size(); ++i) {
        text += (i ? " | " : "") + buttons[i];
    }
    return text + "]";
}
