// The editor's text tool: any number of text overlays over the picture, each with its own
// text, fill and outline colours, face and alignment, moved, turned and scaled by its
// handles; a menu of seven items (new, text, colour, face, three alignments) in place of
// the editor's and the text panel above it while an overlay is selected. OK draws the
// overlays into the picture at its own resolution.
//
// Kept sound where a plain reading would not be:
// - Baking renders the overlays (views) on the main thread, at the picture's resolution;
//   only drawing the picture and that layer together runs in the background.
#pragma once

#include "editor/PEImageToolBase.h"
#include "editor/tools/text/PETextSettingViewDelegate.h"
#include "platform/uikit/NSTextAttributes.h"

#include <memory>
#include <vector>

class NSNotification;
class PETextSettingView;
class PEToolbarMenuItem;
class UIGestureRecognizer;
class UIScrollView;
class UIView;
class _PETextView;

class PETextTool : public PEImageToolBase, public PETextSettingViewDelegate {
    NS_OBJECT(PETextTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // "PETextTool_DefaultTitle", "Text" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
        double defaultDockedNumber(const Class& self) const override;
        // The eight icon asset names, empty (the tool's own pictures).
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    // Items of the menu, by tag.
    enum MenuItem : long {
        NewItem = 0,
        TextItem = 1,
        ColorItem = 2,
        FontItem = 3,
        AlignLeftItem = 4,
        AlignCenterItem = 5,
        AlignRightItem = 6,
    };
    static constexpr double kPanelHeight = 180;

    // Made by the class registry when the editor opens the tool.
    PETextTool() = default;

    void setup() override;
    void cleanup() override;
    // Deselects every overlay, then draws them into the picture.
    void executeWithCompletionBlock(Completion completion) override;

    void addNewText();
    void beginTextEditting();
    void showSettingViewWithMenuIndex(long index);
    void hideSettingView();
    void setTextAlignment(NSTextAlignment alignment);
    void setMenuBtnEnabled(bool enabled);
    std::shared_ptr<_PETextView> selectedTextView() const { return selectedTextView_; }
    void setSelectedTextView(const std::shared_ptr<_PETextView>& view);

    std::shared_ptr<UIView> workingView() const { return workingView_; }
    std::shared_ptr<PETextSettingView> settingView() const { return settingView_; }
    std::shared_ptr<UIScrollView> menuScroll() const { return menuScroll_; }
    // The menu's items in tag order.
    const std::vector<std::shared_ptr<PEToolbarMenuItem>>& menuItems() const { return items_; }

    void textSettingViewDidChangeText(PETextSettingView& panel, const std::string& text) override;
    void textSettingViewDidChangeFillColor(PETextSettingView& panel,
                                           const std::shared_ptr<UIColor>& color) override;
    void textSettingViewDidChangeBorderColor(PETextSettingView& panel,
                                             const std::shared_ptr<UIColor>& color) override;
    void textSettingViewDidChangeBorderWidth(PETextSettingView& panel, double width) override;
    void textSettingViewDidChangeFont(PETextSettingView& panel,
                                      const std::shared_ptr<UIFont>& font) override;

private:
    void setMenu();
    void tappedMenuPanel(UIGestureRecognizer& recognizer);
    void pushedButton();
    // The selected overlay's text laid out again in 80 % of the picture's width, a line
    // at most 20 % of its height.
    void fitSelectedText();
    std::shared_ptr<UIView> colorIcon() const;

    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIView> workingView_;
    std::shared_ptr<PETextSettingView> settingView_;
    std::vector<std::shared_ptr<PEToolbarMenuItem>> items_;
    std::shared_ptr<UIScrollView> menuScroll_;
    std::shared_ptr<_PETextView> selectedTextView_;
};
