#include "platform/uikit/UIKeyboard.h"

#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/CGPath.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIKeyInput.h"
#include "platform/uikit/UIResponder.h"
#include "platform/uikit/UIScreen.h"

#include <vector>

namespace {
// The byte length of the UTF-8 character starting with `lead` (the text is valid UTF-8).
size_t characterLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead < 0xE0) {
        return 2;
    }
    return lead < 0xF0 ? 3 : 4;
}

// A member of a notification's user information; null when absent.
PlistValue entry(const NSNotification& notification, const char* key) {
    const auto& userInfo = notification.userInfo();
    const auto found = userInfo.find(key);
    return found == userInfo.end() ? PlistValue() : found->second;
}
} // namespace

UIKeyboard& UIKeyboard::shared() {
    static UIKeyboard keyboard;
    return keyboard;
}

void UIKeyboard::resetForTesting() {
    shared() = UIKeyboard();
}

CGRect UIKeyboard::frame() const {
    const CGRect screen = UIScreen::mainScreen()->bounds();
    const double height =
        screen.size.height >= screen.size.width ? kPortraitHeight : kLandscapeHeight;
    const double top = CGRectGetMaxY(screen) - (visible_ ? height : 0);
    return CGRectMake(screen.origin.x, top, screen.size.width, height);
}

UIKeyInput* UIKeyboard::keyInput() const {
    return dynamic_cast<UIKeyInput*>(firstResponder().get());
}

bool UIKeyboard::handOverTo(const std::shared_ptr<UIResponder>& responder) {
    if (const auto current = firstResponder()) {
        handingOver_ = true;
        const bool resigned = current->resignFirstResponder();
        handingOver_ = false;
        if (!resigned) {
            return false;
        }
    }
    firstResponder_ = responder;
    update();
    return true;
}

bool UIKeyboard::forceResign(UIResponder& responder) {
    if (firstResponder().get() != &responder) {
        return true;
    }
    firstResponder_.reset();
    if (!handingOver_) {
        update();
    }
    responder.didResignFirstResponder();
    return true;
}

void UIKeyboard::update() {
    const bool wanted = keyInput() != nullptr;
    if (wanted == visible_) {
        return;
    }
    const CGRect begin = frame();
    visible_ = wanted;
    post(wanted ? UIKeyboardWillShowNotification : UIKeyboardWillHideNotification, begin, frame());
}

void UIKeyboard::post(const char* name, const CGRect& begin, const CGRect& end) {
    NSNotificationCenter::defaultCenter()->postNotificationNameObjectUserInfo(
        name, nullptr,
        {{UIKeyboardFrameBeginUserInfoKey, NSStringFromCGRect(begin)},
         {UIKeyboardFrameEndUserInfoKey, NSStringFromCGRect(end)},
         {UIKeyboardAnimationCurveUserInfoKey, kAnimationCurve},
         {UIKeyboardAnimationDurationUserInfoKey, kAnimationDuration}});
}

ErrorOr<void> UIKeyboard::typeText(const std::string& text) {
    if (!NSString::isValidUTF8(text)) {
        return makeError(UIKeyboardErrorDomain, UIKeyboardErrorMalformedText,
                         "the keyboard cannot type text that is not UTF-8");
    }
    for (size_t at = 0; at < text.size();) {
        const size_t length = characterLength(static_cast<unsigned char>(text[at]));
        if (auto pressed = pressKey(text.substr(at, length)); pressed.hasError()) {
            return pressed;
        }
        at += length;
    }
    return {};
}

ErrorOr<void> UIKeyboard::pressKey(const std::string& character) {
    UIKeyInput* input = keyInput();
    if (!input) {
        return makeError(UIKeyboardErrorDomain, UIKeyboardErrorNoKeyInput,
                         "no text field or text view has the keyboard");
    }
    const bool digit = character.size() == 1 && character[0] >= '0' && character[0] <= '9';
    if (input->keyboardType() == UIKeyboardType::NumberPad && !digit) {
        return makeError(UIKeyboardErrorDomain, UIKeyboardErrorNoSuchKey,
                         "the number pad has no key for '" +
                             (character == "\n" ? std::string("return") : character) + "'");
    }
    input->insertText(character);
    return {};
}

ErrorOr<void> UIKeyboard::deleteBackward() {
    UIKeyInput* input = keyInput();
    if (!input) {
        return makeError(UIKeyboardErrorDomain, UIKeyboardErrorNoKeyInput,
                         "no text field or text view has the keyboard");
    }
    input->deleteBackward();
    return {};
}

CGRect UIKeyboard::frameEndOfNotification(const NSNotification& notification) {
    return CGRectFromString(entry(notification, UIKeyboardFrameEndUserInfoKey).stringValue());
}

long UIKeyboard::curveOfNotification(const NSNotification& notification) {
    return long(entry(notification, UIKeyboardAnimationCurveUserInfoKey).integerValue());
}

double UIKeyboard::durationOfNotification(const NSNotification& notification) {
    return entry(notification, UIKeyboardAnimationDurationUserInfoKey).doubleValue();
}

void UIKeyboard::drawInContext(const CGContextRef& context) const {
    if (!visible_ || !context) {
        return;
    }
    const CGRect area = frame();
    const bool numberPad = keyInput() && keyInput()->keyboardType() == UIKeyboardType::NumberPad;
    // The keys, row by row; each row shares the width evenly.
    const std::vector<std::vector<std::string>> rows =
        numberPad ? std::vector<std::vector<std::string>>{{"1", "2", "3"},
                                                          {"4", "5", "6"},
                                                          {"7", "8", "9"},
                                                          {"", "0", "\u232B"}}
                  : std::vector<std::vector<std::string>>{
                        {"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"},
                        {"A", "S", "D", "F", "G", "H", "J", "K", "L"},
                        {"\u21E7", "Z", "X", "C", "V", "B", "N", "M", "\u232B"},
                        {"123", "space", "return"}};
    constexpr double kGap = 6;
    CGContextSaveGState(context);
    CGContextSetFillColorWithColor(context, CGColorMake(0.82, 0.83, 0.86, 1));
    CGContextFillRect(context, area);
    const double rowHeight =
        (area.size.height - kGap * double(rows.size() + 1)) / double(rows.size());
    NSTextAttributes label;
    label.font = UIFont::systemFontOfSize(numberPad ? 24 : 18);
    label.foregroundColor = UIColor::colorWithWhiteAlpha(0.1, 1);
    auto centred = std::make_shared<NSParagraphStyle>();
    centred->setAlignment(NSTextAlignment::Center);
    label.paragraphStyle = centred;
    UIGraphicsPushContext(context);
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto& keys = rows[r];
        // The letter rows keep the width of the top row's keys; wider rows share it.
        const size_t columns = numberPad ? keys.size() : std::max<size_t>(keys.size(), 10);
        const double keyWidth = (area.size.width - kGap * double(columns + 1)) / double(columns);
        double width = keyWidth;
        if (!numberPad && keys.size() == 3) {
            width = (area.size.width - 4 * kGap) / 4;
        }
        // The space bar takes two keys' room.
        const auto widthOf = [&](const std::string& key) {
            return key == "space" ? 2 * width + kGap : width;
        };
        double rowWidth = -kGap;
        for (const auto& key : keys) {
            rowWidth += widthOf(key) + kGap;
        }
        double x = area.origin.x + (area.size.width - rowWidth) / 2;
        const double y = area.origin.y + kGap + double(r) * (rowHeight + kGap);
        for (const auto& key : keys) {
            const double w = widthOf(key);
            if (!key.empty()) {
                const CGRect cap = CGRectMake(x, y, w, rowHeight);
                CGContextSetFillColorWithColor(context, CGColorMake(1, 1, 1, 1));
                CGContextAddPath(context, CGPathCreateWithRoundedRect(cap, 5, 5, nullptr));
                CGContextFillPath(context);
                const double textHeight = label.font->lineHeight();
                NSStringDrawing::drawInRectWithAttributes(
                    key, CGRectMake(x, y + (rowHeight - textHeight) / 2, w, textHeight), label);
            }
            x += w + kGap;
        }
    }
    UIGraphicsPopContext();
    CGContextRestoreGState(context);
}
