// The strip of entries a tool shows in place of the editor's menu (the filter and effect
// tools): a scroll view at the menu's frame and colour, an item 70 points wide per
// available entry with no gaps, sliding in from below the editor's view and out again over
// 0.3 s, its items flashing when tapped. Main thread.
#pragma once

#include "editor/PEImageToolInfo.h"
#include "platform/uikit/UIGestureRecognizer.h"

#include <functional>
#include <memory>

class PEImageToolHost;
class PEToolbarMenuItem;
class UIScrollView;
class UIView;

namespace PEToolStrip {
// A strip at the frame of the editor's menu, with its background colour and no horizontal
// scroll indicator, added to the editor's view; null without a menu.
std::shared_ptr<UIScrollView> stripOverMenu(PEImageToolHost& editor);
// An item per available entry, in the given order, sending `action` to `target` when
// tapped; `added` sees each item once it is in the strip. The content is as wide as the
// items, and always a point wider than the strip, so that it can be dragged a little.
void fillWithEntries(UIScrollView& strip, const PEImageToolInfo::ToolList& entries,
                     std::weak_ptr<NSObject> target, const UIGestureRecognizer::Action& action,
                     const std::function<void(const std::shared_ptr<PEToolbarMenuItem>&)>& added);
// Moves the strip just below the editor's view and animates it back into place.
void slideIn(PEImageToolHost& editor, const std::shared_ptr<UIScrollView>& strip);
// Animates the strip below the editor's view and removes it once there.
void slideOut(PEImageToolHost& editor, const std::shared_ptr<UIScrollView>& strip);
// A tapped item dims to 0.2 and comes back to full opacity over 0.3 s.
void flash(const std::shared_ptr<UIView>& item);
} // namespace PEToolStrip
