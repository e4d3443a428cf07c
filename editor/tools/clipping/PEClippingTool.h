// The editor's crop tool. Over the picture it lays the crop grid (PEClippingPanel); in the
// place of the editor's menu, a strip of aspect ratios (free, 1 : 1, 4 : 3, 3 : 2, 16 : 9
// by default, each item showing the picture cut to its shape) and, unless switched off, a
// button that turns every ratio between landscape and portrait. OK crops the picture to
// the rectangle on the main thread and answers at once.
//
// Kept sound where a plain reading would not be:
// - OK crops to the rectangle in whole pixels and only inside the picture, so the result
//   never has transparent margins; a rectangle with nothing of the picture in it answers
//   with an error instead of an empty picture.
// - A ratio record that is not a dictionary is skipped (and logged), not trusted.
#pragma once

#include "editor/PEImageToolBase.h"

#include <memory>

class PEClippingPanel;
class PERatioMenuItem;
class UIButton;
class UIGestureRecognizer;
class UIScrollView;
class UIView;

class PEClippingTool : public PEImageToolBase {
    NS_OBJECT(PEClippingTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // "PEClippingTool_DefaultTitle", "Crop" by default.
        std::string defaultTitle(const Class& self) const override;
        // Always.
        bool isAvailable(const Class& self) const override;
        // "ratios" (defaultPresetRatios), "swapButtonHidden" (NO) and
        // "rotateIconAssetsName" (empty: the bundle's picture).
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    PEClippingTool() = default;

    // The ratio records of the standard strip: free ("Custom"), 1 : 1, 4 : 3, 3 : 2, 16 : 9;
    // each a dictionary of "value1", "value2" and "titleFormat".
    static PlistValue::Array defaultPresetRatios();
    static bool defaultSwapButtonHidden() { return false; }
    // The settings a host has not changed: the class's optional information.
    static PlistValue::Dictionary defaultOptionalInfo();

    // Freezes the zoom, lays the grid over the picture, builds the strip (and the swap
    // button) and slides it in; the first ratio is selected.
    void setup() override;
    // Gives the zoom back, removes the grid with its handles and slides the strip out.
    void cleanup() override;
    // The picture cropped to the grid's rectangle, before this returns.
    void executeWithCompletionBlock(Completion completion) override;

    // Fills the strip from the tool's "ratios": one item each, all oriented alike by the
    // picture's shape (or each by its own values when the swap button is hidden).
    void setCropMenu();
    // A ratio item's tap: flashes it and selects it.
    void tappedMenu(UIGestureRecognizer& sender);
    std::shared_ptr<PERatioMenuItem> selectedMenu() const { return selectedMenu_; }
    // Highlights the item and gives its ratio to the grid (none for a free one); the
    // selected item again does nothing.
    void setSelectedMenu(const std::shared_ptr<PERatioMenuItem>& item);
    // Turns every ratio; the grid re-fits unless it crops freely or square.
    void pushedRotateBtn();

    std::shared_ptr<PEClippingPanel> gridView() const { return gridView_; }
    std::shared_ptr<UIView> menuContainer() const { return menuContainer_; }
    std::shared_ptr<UIScrollView> menuScroll() const { return menuScroll_; }
    // Null when hidden.
    std::shared_ptr<UIButton> swapButton() const { return swapButton_; }

private:
    bool swapButtonHidden() const;

    std::shared_ptr<PEClippingPanel> gridView_;
    std::shared_ptr<UIView> menuContainer_;
    std::shared_ptr<UIScrollView> menuScroll_;
    std::shared_ptr<UIButton> swapButton_;
    std::shared_ptr<PERatioMenuItem> selectedMenu_;
};
