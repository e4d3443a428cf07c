// A navigation bar title that opens a dropdown: the title on one line (its font shrinking
// to fit a long one), an arrow beside it, the two centred together, and a transparent
// button over the whole control that takes its taps.
#pragma once

#include "platform/uikit/UIControl.h"

#include <memory>
#include <string>

class UIButton;
class UIImageView;
class UILabel;

class CCDropdownTitleView : public UIControl {
    NS_OBJECT(CCDropdownTitleView)
public:
    // The control at its usual size, 200 x 44 points: a white bold title (none yet), the
    // "dropdownArrow" picture, the button. Any other frame lays out the same way.
    static std::shared_ptr<CCDropdownTitleView> titleView();
    static std::shared_ptr<CCDropdownTitleView> alloc() { return titleView(); }

    // Shows the title; the label takes the text's size, up to the room beside the arrow.
    void setTitle(const std::string& title);

    // The parts, kept by the view tree (null once taken out of the control).
    std::shared_ptr<UILabel> titleLabel() const { return titleLabel_.lock(); }
    std::shared_ptr<UIImageView> imageView() const { return imageView_.lock(); }
    std::shared_ptr<UIButton> titleButton() const { return titleButton_.lock(); }

    void layoutSubviews() override;

protected:
    CCDropdownTitleView() = default;

private:
    std::weak_ptr<UILabel> titleLabel_;
    std::weak_ptr<UIImageView> imageView_;
    std::weak_ptr<UIButton> titleButton_;
};
