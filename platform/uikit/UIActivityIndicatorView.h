// The spinning "busy" wheel: twelve spokes fading around a circle. Shown while animating;
// hidden when stopped, unless told to stay.
#pragma once

#include "platform/uikit/UIView.h"

enum class UIActivityIndicatorViewStyle { WhiteLarge = 0, White = 1, Gray = 2 };

class UIActivityIndicatorView : public UIView {
    NS_OBJECT(UIActivityIndicatorView)
public:
    static std::shared_ptr<UIActivityIndicatorView>
    initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle style);
    static std::shared_ptr<UIActivityIndicatorView> alloc() {
        return initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle::White);
    }

    UIActivityIndicatorViewStyle activityIndicatorViewStyle() const { return style_; }
    std::shared_ptr<UIColor> color() const { return color_; }
    void setColor(std::shared_ptr<UIColor> color);
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }

    CGSize sizeThatFits(const CGSize& size) const override;
    void drawRect(const CGRect& rect) override;

protected:
    UIActivityIndicatorView() = default;

private:
    UIActivityIndicatorViewStyle style_ = UIActivityIndicatorViewStyle::White;
    std::shared_ptr<UIColor> color_;
    bool hidesWhenStopped_ = true;
    bool animating_ = false;
};
