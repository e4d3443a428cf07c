// A text overlay of the text tool: its text in a label that alone is scaled, a delete
// button at the label's top left and a round handle at its bottom right, both keeping
// their size on screen. Dragged by the label, turned and scaled by the handle (never below
// 0.3), deleted by the button. One overlay in the program is active (button, handle and a
// hairline frame shown, in front of its siblings); each activation is announced on the
// main queue, one turn after it happened, and so is a second tap on the active overlay.
#pragma once

#include "platform/uikit/NSTextAttributes.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <string>

class PECircleView;
class PEImageToolBase;
class PETextLabel;
class UIButton;
class UIColor;
class UIFont;
class UIGestureRecognizer;

inline constexpr const char* PETextViewActiveViewDidChangeNotificationString =
    "PETextViewActiveViewDidChangeNotificationString";
inline constexpr const char* PETextViewActiveViewDidTapNotificationString =
    "PETextViewActiveViewDidTapNotificationString";

class _PETextView : public UIView {
    NS_OBJECT(_PETextView)
public:
    // The label's margin, and the button's and the handle's side, in screen points.
    static constexpr double kMargin = 16;
    static constexpr double kControlSide = 32;
    static constexpr double kFontSize = 50;
    static constexpr double kMinimumScale = 0.3;

    // A fresh overlay showing the placeholder; the tool gives the delete button's picture.
    static std::shared_ptr<_PETextView> initWithTool(const PEImageToolBase& tool);

    static std::shared_ptr<_PETextView> activeTextView();
    // Deactivates the active overlay and activates `view` (none: null), bringing it to the
    // front; announces the change unless `view` was active already.
    static void setActiveTextView(const std::shared_ptr<_PETextView>& view);
    // No active overlay, no handle drag remembered (between tests).
    static void resetForTesting();

    bool active() const;
    void setAvtive(bool active);

    const std::string& text() const { return text_; }
    // Empty text shows the localised placeholder, as ordinary text of the label.
    void setText(const std::string& text);
    std::shared_ptr<UIFont> font() const;
    // Shown at 50 points, whatever the font's size.
    void setFont(const std::shared_ptr<UIFont>& font);
    std::shared_ptr<UIColor> fillColor() const;
    void setFillColor(const std::shared_ptr<UIColor>& color);
    std::shared_ptr<UIColor> borderColor() const;
    void setBorderColor(const std::shared_ptr<UIColor>& color);
    double borderWidth() const;
    void setBorderWidth(double width);
    NSTextAlignment textAlignment() const;
    void setTextAlignment(NSTextAlignment alignment);
    double scale() const { return scale_; }
    double angle() const { return arg_; }

    // Scales the label, resizes the overlay round it keeping its centre and turns it.
    void setScale(double scale);
    // Lays the text out within `maxWidth` / 0.3 and scales it so that the overlay is at
    // most `maxWidth` wide and a line at most `lineHeight` high.
    void sizeToFitWithMaxWidthLineHeight(double maxWidth, double lineHeight);

    std::shared_ptr<PETextLabel> label() const { return label_; }
    std::shared_ptr<UIButton> deleteButton() const { return deleteButton_; }
    std::shared_ptr<PECircleView> circleView() const { return circleView_; }

    // The overlay's own margin takes no touches: only the label, the button and the handle.
    std::shared_ptr<UIView> hitTestWithEvent(const CGPoint& point, const UIEvent* event) override;

    void pushedDeleteBtn();

protected:
    _PETextView() = default;

private:
    void initGestures();
    void viewDidTap(UIGestureRecognizer& recognizer);
    void viewDidPan(UIGestureRecognizer& recognizer);
    void circleViewDidPan(UIGestureRecognizer& recognizer);

    std::shared_ptr<PETextLabel> label_;
    std::shared_ptr<UIButton> deleteButton_;
    std::shared_ptr<PECircleView> circleView_;
    double scale_ = 1;
    double arg_ = 0;
    CGPoint initialPoint_{};
    double initialArg_ = 0;
    double initialScale_ = 1;
    std::string text_;
    bool hasText_ = false;
};
