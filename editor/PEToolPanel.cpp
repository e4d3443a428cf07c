#include "editor/PEToolPanel.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEToolbarMenuItem.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIScrollView.h"

#include <algorithm>

namespace PEToolPanel {

void animate(const UIViewAnimation::Block& animations, UIViewAnimation::Completion completion) {
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        kAnimationDuration, 0, 0, animations, std::move(completion));
}

void flash(const std::shared_ptr<UIView>& item) {
    item->setAlpha(0.2);
    animate([item] { item->setAlpha(1); });
}

std::shared_ptr<UIView> startIndicator(const std::shared_ptr<UIView>& parent, const CGPoint& centre) {
    auto indicator = PEImageEditorTheme::indicatorView();
    indicator->setCenter(centre);
    parent->addSubview(indicator);
    if (auto spinner = std::dynamic_pointer_cast<UIActivityIndicatorView>(indicator)) {
        spinner->startAnimating();
    }
    return indicator;
}

std::shared_ptr<UIScrollView> menuStrip(PEImageToolHost& editor) {
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

double dropOutOfSight(PEImageToolHost& editor, const UIView& panel) {
    return editor.view()->frame().size.height - panel.frame().origin.y;
}

void slideIn(PEImageToolHost& editor, const std::shared_ptr<UIView>& panel,
             UIViewAnimation::Completion completion) {
    panel->setTransform(CGAffineTransformMakeTranslation(0, dropOutOfSight(editor, *panel)));
    animate([panel] { panel->setTransform(CGAffineTransformIdentity); }, std::move(completion));
}

void slideOutAndRemove(PEImageToolHost& editor, const std::shared_ptr<UIView>& panel,
                       UIViewAnimation::Completion completion) {
    const double drop = dropOutOfSight(editor, *panel);
    animate([panel, drop] {
        panel->setTransform(CGAffineTransformTranslate(panel->transform(), 0, drop));
    },
            [panel, completion = std::move(completion)](bool finished) {
                panel->removeFromSuperview();
                if (completion) {
                    completion(finished);
                }
            });
}

void layOutItems(UIScrollView& strip, const std::vector<std::shared_ptr<PEToolbarMenuItem>>& items,
                 double gap) {
    const double height = strip.frame().size.height;
    double x = 0;
    for (const auto& item : items) {
        item->setFrame(CGRectMake(x + gap, 0, kItemWidth, height));
        strip.addSubview(item);
        x += gap + kItemWidth;
    }
    strip.setContentSize(CGSizeMake(std::max(x, strip.frame().size.width + 1), 0));
}

void fillWithEntries(UIScrollView& strip, const PEImageToolInfo::ToolList& entries,
                     std::weak_ptr<NSObject> target, const UIGestureRecognizer::Action& action,
                     const std::function<void(const std::shared_ptr<PEToolbarMenuItem>&)>& added,
                     double gap) {
    const CGRect frame = CGRectMake(0, 0, kItemWidth, strip.frame().size.height);
    std::vector<std::shared_ptr<PEToolbarMenuItem>> items;
    for (const auto& entry : entries) {
        if (entry->available()) {
            items.push_back(PEImageEditorTheme::menuItemWithFrameTargetActionToolInfo(
                frame, target, action, entry));
        }
    }
    layOutItems(strip, items, gap);
    if (added) {
        for (const auto& item : items) {
            added(item);
        }
    }
}

} // namespace PEToolPanel
