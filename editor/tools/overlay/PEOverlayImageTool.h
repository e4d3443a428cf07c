// What the emoticon and sticker tools share: a strip of the pictures found in one folder
// over the editor's menu, and a transparent working view over the picture on screen that
// holds the overlays a tap on the strip adds (in the middle, half the view's size at most).
// OK renders the overlays, without their controls, into the picture at its own size and
// scale.
//
// Kept sound where a plain reading would not be: the overlays are rendered (a view tree
// read) on the main thread, into a transparent picture of the photo's size; only laying
// that over the photo runs in the background.
#pragma once

#include "editor/PEImageToolBase.h"

#include <memory>
#include <string>

class PEOverlayImageView;
class UIGestureRecognizer;
class UIImage;
class UIScrollView;
class UIView;

class PEOverlayImageTool : public PEImageToolBase {
    NS_OBJECT(PEOverlayImageTool)
public:
    // How one overlay tool differs from the other: its title, the setting naming its
    // folder and the folder's name in the tool's folder of the editor bundle.
    struct Names {
        const char* titleKey;
        const char* title;
        const char* folderKey;
        const char* folderName;
    };

    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // The family's base is no tool of its own: never listed.
        ClassMethods() = default;
        explicit ClassMethods(const Names& names) : names_(&names) {}
        std::string defaultTitle(const Class& self) const override;
        // From system version 5, for the tools themselves.
        bool isAvailable(const Class& self) const override;
        double defaultDockedNumber(const Class&) const override { return 7; }
        // The folder, as defaultFolderPath gives it, and the delete icon's asset name,
        // empty (the theme's picture).
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;

    private:
        const Names* names_ = nullptr;
    };

    // "<editor bundle>/<class>/<folder>"; empty without the editor bundle.
    static std::string defaultFolderPath(const std::string& className, const std::string& folder);

    // The working view over the picture, the frozen zoom, the strip sliding in.
    void setup() override;
    // Gives the zoom back, removes the working view with its overlays and slides the strip
    // out.
    void cleanup() override;
    // Deactivates the overlays, renders them, and lays them over the picture in the
    // background; the answer on the main thread.
    void executeWithCompletionBlock(Completion completion) override;

    // An item per file of the folder that loads as a picture, in the listing's order: its
    // picture fitted into 50 x 50 as the icon, the file's path in its user info
    // ("filePath"). Files that are no pictures are left out; no folder, no items.
    void setMenu();
    // Adds the item's picture as the active overlay in the middle of the working view; the
    // item flashes.
    void tappedPanel(UIGestureRecognizer& recognizer);


    std::shared_ptr<UIView> workingView() const { return workingView_; }
    std::shared_ptr<UIScrollView> menuScroll() const { return menuScroll_; }

protected:
    PEOverlayImageTool() = default;

    virtual const Names& names() const = 0;
    // A new overlay of the tool's own class.
    virtual std::shared_ptr<PEOverlayImageView>
    overlayWithImage(const std::shared_ptr<UIImage>& image) = 0;
    // Makes `overlay` (or none) the active one of the tool's overlay class.
    virtual void setActiveOverlay(const std::shared_ptr<PEOverlayImageView>& overlay) = 0;

private:
    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIView> workingView_;
    std::shared_ptr<UIScrollView> menuScroll_;
};
