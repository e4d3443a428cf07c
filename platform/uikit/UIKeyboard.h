// The on-screen keyboard, standing in for the platform's: it holds the first responder,
// comes up at the bottom of the screen when a responder that takes keys (UIKeyInput)
// becomes first responder and goes when none is, telling observers before it moves
// (will-show, will-hide) with where it ends, the curve and the duration of its slide.
// Its keys type into the first responder through UIKeyInput, as a finger on it would.
// It takes no touches; screenshots of the key window show it while it is up.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGeometry.h"

#include <memory>
#include <string>

class NSNotification;
class UIKeyInput;
class UIResponder;

inline constexpr const char* UIKeyboardWillShowNotification = "UIKeyboardWillShowNotification";
inline constexpr const char* UIKeyboardWillHideNotification = "UIKeyboardWillHideNotification";
// The notifications' user information: the frames (screen coordinates) as NSStringFromCGRect
// text, the curve as an integer (a UIViewAnimationCurve), the duration in seconds.
inline constexpr const char* UIKeyboardFrameBeginUserInfoKey = "UIKeyboardFrameBeginUserInfoKey";
inline constexpr const char* UIKeyboardFrameEndUserInfoKey = "UIKeyboardFrameEndUserInfoKey";
inline constexpr const char* UIKeyboardAnimationCurveUserInfoKey =
    "UIKeyboardAnimationCurveUserInfoKey";
inline constexpr const char* UIKeyboardAnimationDurationUserInfoKey =
    "UIKeyboardAnimationDurationUserInfoKey";

inline constexpr const char* UIKeyboardErrorDomain = "UIKeyboardErrorDomain";
enum UIKeyboardError : long {
    // Nothing takes the keys: no first responder, or one that is not a text view.
    UIKeyboardErrorNoKeyInput = 1,
    // The keyboard up has no key for a character (a number pad and a letter).
    UIKeyboardErrorNoSuchKey = 2,
    // The text is not valid UTF-8.
    UIKeyboardErrorMalformedText = 3,
};

class UIKeyboard {
public:
    // The curve the keyboard slides with: the platform's own, outside the named curves.
    static constexpr long kAnimationCurve = 7;
    static constexpr double kAnimationDuration = 0.25;
    // Heights of a phone's keyboard, upright and turned.
    static constexpr double kPortraitHeight = 216;
    static constexpr double kLandscapeHeight = 162;

    static UIKeyboard& shared();
    // No first responder, the keyboard down (between tests).
    static void resetForTesting();

    std::shared_ptr<UIResponder> firstResponder() const { return firstResponder_.lock(); }
    bool isVisible() const { return visible_; }
    // Where the keyboard is (up) or would be (down), in screen coordinates: across the
    // bottom of the screen, or just below it.
    CGRect frame() const;

    // Types each character of the text with its key, a line feed with the return key.
    // Stops at the first character the keyboard up has no key for.
    ErrorOr<void> typeText(const std::string& text);
    // The delete key.
    ErrorOr<void> deleteBackward();

    // Paints the keyboard up (its keys for the first responder's keyboard type) at its
    // frame, the context being in screen coordinates.
    void drawInContext(const CGContextRef& context) const;

    // Readers of the notifications' user information; a missing entry reads as zero.
    static CGRect frameEndOfNotification(const NSNotification& notification);
    static long curveOfNotification(const NSNotification& notification);
    static double durationOfNotification(const NSNotification& notification);

    // For UIResponder: the current first responder resigns (it may refuse: NO), then
    // `responder` takes its place.
    bool handOverTo(const std::shared_ptr<UIResponder>& responder);
    // For UIResponder and UIView::endEditing: the responder stops being first responder,
    // whatever it would answer, and hears of it.
    bool forceResign(UIResponder& responder);

private:
    UIKeyboard() = default;

    UIKeyInput* keyInput() const;
    // Brings the keyboard up or down to match the first responder.
    void update();
    void post(const char* name, const CGRect& begin, const CGRect& end);
    ErrorOr<void> pressKey(const std::string& character);

    std::weak_ptr<UIResponder> firstResponder_;
    bool visible_ = false;
    // While one responder hands over to another the keyboard stays where it is.
    bool handingOver_ = false;
};
