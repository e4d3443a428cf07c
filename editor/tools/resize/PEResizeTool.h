// The editor's resize tool: scales the whole picture to a new pixel size. Over the picture
// lies a dimmed panel with the picture's size and fields for the new width and height
// (linked by a chain that keeps the proportion, capped by a limit); in the place of the
// editor's menu, a row of preset sizes and a switch deciding whether a preset sets the
// width or the height. OK scales the picture in the background.
//
// Kept sound where a plain reading would not be:
// - OK takes the size from the fields on the main thread, when it is pressed; the
//   background work reads no view.
// - An empty or zero field tells the user (an error, so the tool stays open with a
//   message) instead of doing nothing.
// - A result that arrives after the tool ended is dropped; a picture that cannot be
//   scaled answers with an error.
#pragma once

#include "editor/PEImageToolBase.h"

#include <memory>
#include <string>

class PEToolbarMenuItem;
class UIGestureRecognizer;
class UIImage;
class UIScrollView;
class UIView;
class _PEResizePanel;

class PEResizeTool : public PEImageToolBase {
    NS_OBJECT(PEResizeTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // "PEResizeTool_DefaultTitle", "Resize" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
        // After the crop tool.
        double defaultDockedNumber(const Class& self) const override;
        // "presetSizes", "limitSize" and the four icon names (empty: the bundle's).
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    static PlistValue::Array defaultPresetSizes();
    static double defaultLimitSize() { return 3200; }

    PEResizeTool() = default;

    // Freezes the zoom, builds the strip (presets and the switch, in width mode) and the
    // panel (the limit applied at once), and slides the strip in.
    void setup() override;
    // Gives the zoom back, ends editing, removes the panel and slides the strip out.
    void cleanup() override;
    // The picture scaled to the fields' size in the background; the answer on the main
    // thread.
    void executeWithCompletionBlock(Completion completion) override;

    // The preset row: an item per size, each carrying it under "size" in its user
    // information; "presetSizes" when it is a non-empty list, else the built-in sizes.
    void setResizeMenu();
    // A preset's icon: the text in bold 30 points, in the theme's colours reversed, on a
    // 100-point square at the screen's scale.
    static std::shared_ptr<UIImage> imageWithString(const std::string& text);
    // Toggles the switch between width (tag 0) and height (tag 1).
    void pushedSwitchBtn(UIGestureRecognizer& sender);
    // A preset's tap: its size to the width or the height, as the switch says.
    void tappedResizePanel(UIGestureRecognizer& sender);

    std::shared_ptr<UIView> menuContainer() const { return menuContainer_; }
    std::shared_ptr<UIScrollView> menuScroll() const { return menuScroll_; }
    std::shared_ptr<PEToolbarMenuItem> switchBtn() const { return switchBtn_; }
    std::shared_ptr<_PEResizePanel> resizePanel() const { return resizePanel_; }

private:
    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIView> menuContainer_;
    std::shared_ptr<PEToolbarMenuItem> switchBtn_;
    std::shared_ptr<UIScrollView> menuScroll_;
    std::shared_ptr<_PEResizePanel> resizePanel_;
    bool ended_ = false;
};
