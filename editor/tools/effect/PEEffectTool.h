// The editor's effect tool: a strip of adjustable effects in place of the editor's menu.
// The selected effect lays its controls over the picture; each change of a setting shows
// a preview of the effect on a copy of the picture reduced to its view's size, built in
// the background; OK applies the effect, as its controls stand then, to the whole picture.
//
// Previews started by a setting never overlap: one process-wide busy flag, set on the main
// thread when such a preview starts and cleared in the background once its result is on
// its way, drops the changes that arrive meanwhile (a continuous slider builds no
// backlog). The preview a selection starts is not held back by it.
//
// Kept sound where a plain reading would not be:
// - The settings are read on the main thread when a render is asked for and handed to
//   the background as values; no control is touched off the main thread.
// - Of the previews under way, only the last one asked for is shown: an older one that
//   arrives later is dropped, as is any preview that arrives after the tool has ended.
// - An effect that fails to render leaves the preview as it was (logged), and OK answers
//   with an error, which keeps the tool open.
#pragma once

#include "editor/PEImageToolBase.h"
#include "editor/tools/effect/PEEffectDelegate.h"

#include <atomic>
#include <cstdint>
#include <memory>

class PEEffectBase;
class UIGestureRecognizer;
class UIScrollView;
class UIView;

class PEEffectTool : public PEImageToolBase, public PEEffectDelegate {
    NS_OBJECT(PEEffectTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // PEEffectBase's entry, then one per available effect class.
        std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
        subtools(const Class& self) const override;
        // "PEEffectTool_DefaultTitle", "Effect" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
    };

    // Made by the class registry when the editor opens the tool.
    PEEffectTool() = default;

    // Takes the editor's current picture and its copy at the image view's size, freezes
    // the zoom, and slides the strip in over the editor's menu (0.3 s); the first item is
    // selected.
    void setup() override;
    // Removes the effect's controls and the spinner, frees the zoom and slides the strip
    // out (0.3 s); previews still under way are dropped.
    void cleanup() override;
    // Shows the spinner, then the selected effect with its current settings applied to the
    // whole picture, on the main thread; "None" gives the picture itself.
    void executeWithCompletionBlock(Completion completion) override;

    // One item per available effect entry, by docked number.
    void setEffectMenu();
    // An item's tap: flashes it and selects it.
    void tappedMenu(UIGestureRecognizer& sender);
    // A new item makes its effect over the picture and selects it; the selected item again
    // does nothing.
    void setSelectedMenu(const std::shared_ptr<UIView>& menu);
    // A new effect replaces the old one's controls and starts a preview.
    void setSelectedEffect(const std::shared_ptr<PEEffectBase>& effect);
    // A preview of the selected effect, its settings as they are now, in the background.
    void buildThumbnailImage();
    // From the selected effect only, and only while no setting's preview is under way.
    void effectParameterDidChange(PEEffectBase& effect) override;

    std::shared_ptr<UIScrollView> menuScroll() const { return menuScroll_; }
    std::shared_ptr<UIView> selectedMenu() const { return selectedMenu_; }
    std::shared_ptr<PEEffectBase> selectedEffect() const { return selectedEffect_; }
    std::shared_ptr<UIImage> thumbnailImage() const { return thumbnailImage_; }

private:
    // Starts a preview; `guarded` clears the busy flag once it is on its way.
    void startPreview(bool guarded);
    // On the main thread, for the `generation`th preview asked for.
    void previewDidFinish(const std::shared_ptr<UIImage>& image, uint64_t generation);

    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIImage> thumbnailImage_;
    std::shared_ptr<UIScrollView> menuScroll_;
    std::shared_ptr<UIView> indicatorView_;
    std::shared_ptr<UIView> selectedMenu_;
    std::shared_ptr<PEEffectBase> selectedEffect_;
    // Previews asked for so far; only the last one's result is shown.
    uint64_t generation_ = 0;
    bool ended_ = false;
};
