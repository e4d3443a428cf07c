// What every tool does with the panels it lays over the editor screen: a strip in the
// place of the editor's menu, panels that slide in from below the screen and leave the
// same way, and the screen's 0.3-second animations. Main thread only.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIViewAnimation.h"

#include <memory>

class PEImageToolHost;
class UIScrollView;
class UIView;

namespace PEToolPanel {

// The length of every tool animation, in seconds.
inline constexpr double kAnimationDuration = 0.3;

// `animations` run as one 0.3-second animation; `completion` once it ends.
void animate(const UIViewAnimation::Block& animations, UIViewAnimation::Completion completion = {});

// A tapped menu item: dimmed to alpha 0.2 and brought back to 1 in 0.3 seconds.
void flash(const std::shared_ptr<UIView>& item);

// The theme's activity indicator, centred on `centre` in `parent`, added and started.
std::shared_ptr<UIView> startIndicator(const std::shared_ptr<UIView>& parent, const CGPoint& centre);

// A strip at the editor menu's frame and in its colour, without a horizontal scroll
// indicator, added to the editor's view.
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

} // namespace PEToolPanel
