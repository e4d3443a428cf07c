// A push button: a control with a title, a title colour, an image and a background image
// for each state. This is its behaviour and data; how it draws them is the drawing
// layer's business.
#pragma once

#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIControlStateValues.h"

#include <string>

class UIColor;
class UIImage;
class UILabel;

enum class UIButtonType { Custom = 0, System = 1 };

class UIButton : public UIControl {
    NS_OBJECT(UIButton)
public:
    static std::shared_ptr<UIButton> buttonWithType(UIButtonType type);
    // A custom button.
    static std::shared_ptr<UIButton> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UIButton> alloc() { return initWithFrame(CGRectZero); }

    UIButtonType buttonType() const { return buttonType_; }

    // Values per state (a UIControlState mask). Asking for a state without a value of its
    // own gives the Normal state's; setting an empty value removes the state's own.
    void setTitleForState(std::string title, unsigned state);
    std::string titleForState(unsigned state) const;
    void setTitleColorForState(std::shared_ptr<UIColor> color, unsigned state);
    std::shared_ptr<UIColor> titleColorForState(unsigned state) const;
    void setImageForState(std::shared_ptr<UIImage> image, unsigned state);
    std::shared_ptr<UIImage> imageForState(unsigned state) const;
    void setBackgroundImageForState(std::shared_ptr<UIImage> image, unsigned state);
    std::shared_ptr<UIImage> backgroundImageForState(unsigned state) const;

    // The values for the current state.
    std::string currentTitle() const { return titleForState(state()); }
    std::shared_ptr<UIColor> currentTitleColor() const { return titleColorForState(state()); }
    std::shared_ptr<UIImage> currentImage() const { return imageForState(state()); }
    std::shared_ptr<UIImage> currentBackgroundImage() const {
        return backgroundImageForState(state());
    }

    bool adjustsImageWhenHighlighted() const { return adjustsImageWhenHighlighted_; }
    void setAdjustsImageWhenHighlighted(bool adjusts) { adjustsImageWhenHighlighted_ = adjusts; }

    // The label set, else the current title.
    std::string accessibilityLabel() const override;

    // The label whose font and alignment the title is drawn with (its text and colour
    // come from the current state).
    std::shared_ptr<UILabel> titleLabel() const;

    // Background image filling the bounds, then the image and the title side by side,
    // centred; a highlighted button's pictures are dimmed when it adjusts them.
    void drawRect(const CGRect& rect) override;

protected:
    UIButton() = default;

private:
    UIButtonType buttonType_ = UIButtonType::Custom;
    UIControlStateValues<std::string> titles_;
    UIControlStateValues<std::shared_ptr<UIColor>> titleColors_;
    UIControlStateValues<std::shared_ptr<UIImage>> images_;
    UIControlStateValues<std::shared_ptr<UIImage>> backgroundImages_;
    bool adjustsImageWhenHighlighted_ = true;
    mutable std::shared_ptr<UILabel> titleLabel_;
};
