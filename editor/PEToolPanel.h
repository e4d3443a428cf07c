// What every tool does with the panels it lays over the editor screen: a strip in the
// place of the editor's menu, panels that slide in from below the screen and leave the
// same way, and the screen's 0.3-second animations. Main thread only.
#pragma once

#include "editor/PEImageToolInfo.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIViewAnimation.h"

#include <functional>
#include <memory>
#include <vector>

class PEImageToolHost;
class PEToolbarMenuItem;
class UIScrollView;
class UIView;

namespace PEToolPanel {

// The length of every tool animation, in seconds.
inline constexpr double kAnimationDuration = 0.3;

// The width of an item of the editor's menu and of a tool's strip.
inline constexpr double kItemWidth = 70;

// `animations` run as one 0.3-second animation; `completion` once it ends.
void animate(const UIViewAnimation::Block& animations, UIViewAnimation::Completion completion = {});

// A tapped menu item: dimmed to alpha 0.2 and brought back to 1 in 0.3 seconds.
void flash(const std::shared_ptr<UIView>& item);

// The theme's activity indicator, centred on `centre` in `parent`, added and started.
std::shared_ptr<UIView> startIndicator(const std::shared_ptr<UIView>& parent, const CGPoint& centre);

// A strip at the editor menu's frame and in its colour, without a horizontal scroll
// indicator, added to the editor's view; null without a menu.
std::shared_ptr<UIScrollView> menuStrip(PEImageToolHost& editor);

// How far `panel` moves down to leave the editor's view: from its top (as it stands now)
// to the view's bottom.
double dropOutOfSight(PEImageToolHost& editor, const UIView& panel);

// Puts the panel just below the editor's view and slides it up to its place.
void slideIn(PEImageToolHost& editor, const std::shared_ptr<UIView>& panel,
             UIViewAnimation::Completion completion = {});
// Slides the panel down out of sight from wherever it stands, then removes it; `completion`
// after that.
void slideOutAndRemove(PEImageToolHost& editor, const std::shared_ptr<UIView>& panel,
                       UIViewAnimation::Completion completion = {});

// Adds ready-made items to the strip in their order, each kItemWidth wide and as high as
// the strip: the first at `gap`, each next one `gap` after the end of the one before. The
// content is as wide as that, and always a point wider than the strip, so that it can be
// dragged a little.
void layOutItems(UIScrollView& strip, const std::vector<std::shared_ptr<PEToolbarMenuItem>>& items,
                 double gap = 0);

// Fills a strip of entries (the editor's menu, the filter and effect tools): an item per
// available entry, in the given order and laid out as layOutItems does, sending `action`
// to `target` when tapped; `added` sees each item once it is in the strip.
void fillWithEntries(UIScrollView& strip, const PEImageToolInfo::ToolList& entries,
                     std::weak_ptr<NSObject> target, const UIGestureRecognizer::Action& action,
                     const std::function<void(const std::shared_ptr<PEToolbarMenuItem>&)>& added,
                     double gap = 0);

} // namespace PEToolPanel
