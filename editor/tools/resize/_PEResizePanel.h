// The resize tool's panel: a dimmed view over the picture area holding a box with the
// picture's size and two number fields for the new width and height, linked by a chain
// button that keeps the picture's proportion. Every change of a field re-applies the limit
// and the chain to the other one; the box moves up out of the keyboard's way.
//
// Kept sound where a plain reading would not be:
// - A field takes digits only, at most four of them, judged on its text as it will be
//   after the change (a paste of several digits cannot make it longer), and never a
//   leading zero, judged on the field being edited.
// - A limit below one pixel, or that is no number, would make the chain call itself
//   without end; the panel keeps a limit of at least one.
#pragma once

#include "platform/foundation/NSRange.h"
#include "platform/uikit/UITextFieldDelegate.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <string>

class NSNotification;
class PEImageToolBase;
class UIButton;
class UITextField;

class _PEResizePanel : public UIView, public UITextFieldDelegate {
    NS_OBJECT(_PEResizePanel)
public:
    // The panel at `frame` for a picture of `originalSize`, its box built with the chain
    // icons `tool` names; the fields show the picture's size, the chain is on. It watches
    // the keyboard while it lives.
    static std::shared_ptr<_PEResizePanel>
    initWithFrameOriginalSizeTool(const CGRect& frame, CGSize originalSize,
                                  const PEImageToolBase* tool);
    static std::shared_ptr<_PEResizePanel> alloc();

    double limitSize() const { return limitSize_; }
    // Stores the limit (at least 1) and applies it to the width as it stands.
    void setLimitSize(double limit);
    // A new width (or height): at most the limit; with the chain on the other side follows
    // in proportion (at least 1), and when that passes the limit it is held there and this
    // side follows it instead. A width of 0 or less empties the other field (chain on) or
    // changes nothing (chain off).
    void setImageWidth(double width);
    void setImageHeight(double height);
    // The two fields read as numbers.
    CGSize imageSize() const;

    void chainBtnDidPush();
    void textFieldDidChanged(UITextField& field);
    bool
    textFieldShouldChangeCharactersInRangeReplacementString(UITextField& textField, NSRange range,
                                                            const std::string& string) override;
    // Whether `text` may stand as the number a field holds: digits only, not empty, no
    // leading zero.
    static bool isNumber(const std::string& text);
    void viewDidTap();
    void keyBoardWillChange(const NSNotification& notification);

    std::shared_ptr<UIView> infoPanel() const { return infoPanel_; }
    std::shared_ptr<UITextField> fieldW() const { return fieldW_; }
    std::shared_ptr<UITextField> fieldH() const { return fieldH_; }
    std::shared_ptr<UIButton> chainBtn() const { return chainBtn_; }

protected:
    _PEResizePanel() = default;

private:
    void initInfoPanelWithTool(const PEImageToolBase* tool);
    // One side set (the width, or else the height), the other following.
    void setSide(double value, bool width);

    std::shared_ptr<UIView> infoPanel_;
    CGSize originalSize_{};
    double limitSize_ = 1;
    std::shared_ptr<UITextField> fieldW_;
    std::shared_ptr<UITextField> fieldH_;
    std::shared_ptr<UIButton> chainBtn_;
};
