// The editor's filter tool: a strip of one-shot filters in place of the editor's menu,
// each item showing the current picture already filtered. A tap filters the whole picture
// in the background and shows it as the preview; OK hands back the last filter tapped,
// applied to the whole picture.
//
// Kept sound where a plain reading would not be:
// - The tool filters the editor's current picture, never whatever its image view shows
//   (a preview of another tool, or of this one).
// - A preview that arrives after the tool has ended is dropped: the image view then
//   belongs to the editor again.
// - OK answers with the result of the last filter tapped, even while that one is still
//   rendering: the completion then waits for it. A filter that fails to render leaves
//   the preview and OK's answer at the filter before it (logged).
//
// Previews never overlap: one process-wide busy flag, set on the main thread when a tap
// starts one and cleared in the background once its result is on its way, drops the taps
// that arrive meanwhile (no highlight, no work).
#pragma once

#include "editor/PEImageToolBase.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class UIGestureRecognizer;
class UIScrollView;

class PEFilterTool : public PEImageToolBase {
    NS_OBJECT(PEFilterTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        // Every available filter class (PEFilterBase's descendants).
        std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
        subtools(const Class& self) const override;
        // "PEFilterTool_DefaultTitle", "Filter" by default.
        std::string defaultTitle(const Class& self) const override;
        // From system version 5.
        bool isAvailable(const Class& self) const override;
    };

    // Made by the class registry when the editor opens the tool.
    PEFilterTool() = default;

    // Takes the editor's current picture and slides the strip in over the editor's menu
    // (0.3 s); the zoom stays free.
    void setup() override;
    // Slides the strip out (0.3 s) and removes it; from now on previews are dropped and an
    // OK still waiting is never answered.
    void cleanup() override;
    // The picture of the last filter tapped (the picture itself before any tap), at once
    // or when its rendering ends; on the main thread.
    void executeWithCompletionBlock(Completion completion) override;

    // One item a filter entry, 70 points wide with no gaps, in the entry's sorted order;
    // each icon-less item gets its thumbnail from a background task, filtered from one
    // aspect-filled copy of the picture 50 points (at the screen's scale) square, itself
    // made by one background task before those.
    void setFilterMenu();
    // A filter item's tap.
    void tappedFilterPanel(UIGestureRecognizer& sender);

    // The filter class named by the entry applied to the picture; null when that class is
    // not a filter or the filter fails. Any thread.
    static std::shared_ptr<UIImage>
    filteredImageWithToolInfo(const std::shared_ptr<UIImage>& image,
                              const std::shared_ptr<PEImageToolInfo>& toolInfo);

    std::shared_ptr<UIScrollView> menuScroll() const { return menuScroll_; }

private:
    // On the main thread, for the preview of the `generation`th tap.
    void previewDidFinish(std::shared_ptr<UIImage> image, uint64_t generation,
                          const std::string& filterName);

    std::shared_ptr<UIImage> originalImage_;
    std::shared_ptr<UIScrollView> menuScroll_;
    // What OK hands back: the last preview that arrived for the last tap accepted.
    std::shared_ptr<UIImage> result_;
    // Taps accepted so far; a preview whose tap is not the last accepted is stale.
    uint64_t generation_ = 0;
    bool rendering_ = false;
    bool ended_ = false;
    std::vector<Completion> waitingCompletions_;
};
