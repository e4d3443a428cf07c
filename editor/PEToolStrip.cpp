#include "editor/PEToolStrip.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEToolbarMenuItem.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIViewAnimation.h"

#include <algorithm>

namespace {
constexpr double kItemWidth = 70;
constexpr double kSlideDuration = 0.3;
constexpr double kTappedAlpha = 0.2;

void animate(const UIViewAnimation::Block& animations,
             UIViewAnimation::Completion completion = {}) {
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        kSlideDuration, 0, 0, animations, std::move(completion));
}

// How far the strip moves to be out of sight: below the editor's view.
double drop(PEImageToolHost& editor, const UIScrollView& strip) {
    return editor.view()->frame().size.height - strip.frame().origin.y;
}
} // namespace

namespace PEToolStrip {

std::shared_ptr<UIScrollView> stripOverMenu(PEImageToolHost& editor) {
    auto menu = editor.menuView();
    if (!menu) {
        return nullptr;
    }
    auto strip = UIScrollView::initWithFrame(menu->frame());
    strip->setBackgroundColor(menu->backgroundColor());
    strip->setShowsHorizontalScrollIndicator(false);
    editor.view()->addSubview(strip);
    return strip;
}

void fillWithEntries(UIScrollView& strip, const PEImageToolInfo::ToolList& entries,
                     std::weak_ptr<NSObject> target, const UIGestureRecognizer::Action& action,
                     const std::function<void(const std::shared_ptr<PEToolbarMenuItem>&)>& added) {
    const double height = strip.frame().size.height;
    double x = 0;
    for (const auto& entry : entries) {
        if (!entry->available()) {
            continue;
        }
        auto item = PEImageEditorTheme::menuItemWithFrameTargetActionToolInfo(
            CGRectMake(x, 0, kItemWidth, height), target, action, entry);
        strip.addSubview(item);
        if (added) {
            added(item);
        }
        x += kItemWidth;
    }
    strip.setContentSize(CGSizeMake(std::max(x, strip.frame().size.width + 1), 0));
}

void slideIn(PEImageToolHost& editor, const std::shared_ptr<UIScrollView>& strip) {
    strip->setTransform(CGAffineTransformMakeTranslation(0, drop(editor, *strip)));
    animate([strip] { strip->setTransform(CGAffineTransformIdentity); });
}

void slideOut(PEImageToolHost& editor, const std::shared_ptr<UIScrollView>& strip) {
    const double distance = drop(editor, *strip);
    animate(
        [strip, distance] { strip->setTransform(CGAffineTransformMakeTranslation(0, distance)); },
        [strip](bool) { strip->removeFromSuperview(); });
}

void flash(const std::shared_ptr<UIView>& item) {
    item->setAlpha(kTappedAlpha);
    animate([item] { item->setAlpha(1); });
}

} // namespace PEToolStrip
