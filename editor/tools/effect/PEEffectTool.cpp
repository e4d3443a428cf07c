#include "editor/tools/effect/PEEffectTool.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEPreviewGate.h"
#include "editor/PEToolPanel.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "editor/tools/effect/PEEffectBase.h"
#include "platform/base/ClassRegistry.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/WeakAction.h"

std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
PEEffectTool::ClassMethods::subtools(const Class&) const {
    return PEImageToolInfo::toolsWithToolClass("PEEffectBase");
}

std::string PEEffectTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEEffectTool_DefaultTitle", "Effect");
}

bool PEEffectTool::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

void PEEffectTool::setup() {
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    originalImage_ = editor->originalImage();
    thumbnailImage_ = Utility::resize(originalImage_, editor->imageView()->frame().size);
    editor->fixZoomScaleWithAnimated(true);

    menuScroll_ = PEToolPanel::menuStrip(*editor);
    if (!menuScroll_) {
        return;
    }
    setEffectMenu();
    PEToolPanel::slideIn(*editor, menuScroll_);
}

void PEEffectTool::cleanup() {
    ended_ = true;
    if (selectedEffect_) {
        selectedEffect_->cleanup();
    }
    if (indicatorView_) {
        indicatorView_->removeFromSuperview();
    }
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    editor->resetZoomScaleWithAnimated(true);
    if (menuScroll_) {
        PEToolPanel::slideOutAndRemove(*editor, menuScroll_);
    }
}

void PEEffectTool::setEffectMenu() {
    auto info = toolInfo();
    if (!info || !menuScroll_) {
        return;
    }
    PEToolPanel::fillWithEntries(*menuScroll_, info->sortedSubtools(), weakSelf<PEEffectTool>(),
                                 weakAction(self<PEEffectTool>(), &PEEffectTool::tappedMenu),
                                 [this](const std::shared_ptr<PEToolbarMenuItem>& item) {
                                     if (!selectedMenu_) {
                                         setSelectedMenu(item);
                                     }
                                 });
}

void PEEffectTool::tappedMenu(UIGestureRecognizer& sender) {
    auto item = sender.view();
    if (!item || ended_) {
        return;
    }
    PEToolPanel::flash(item);
    setSelectedMenu(item);
}

void PEEffectTool::setSelectedMenu(const std::shared_ptr<UIView>& menu) {
    if (!menu || menu == selectedMenu_) {
        return;
    }
    auto editor = this->editor();
    auto entry = PEViewToolInfo::toolInfo(*menu);
    const Class* cls = entry ? NSClassFromString(entry->toolName()) : nullptr;
    auto effect = cls ? std::dynamic_pointer_cast<PEEffectBase>(cls->alloc()) : nullptr;
    if (!editor || !effect) {
        NSLog("PEEffectTool: %@ is no effect", entry ? entry->toolName() : std::string("(null)"));
        return;
    }
    if (selectedMenu_) {
        selectedMenu_->setBackgroundColor(UIColor::clearColor());
    }
    selectedMenu_ = menu;
    selectedMenu_->setBackgroundColor(PEImageEditorTheme::theme()->toolbarSelectedButtonColor());

    auto imageView = editor->imageView();
    effect->initWithSuperViewImageViewFrameToolInfo(imageView->superview(), imageView->frame(),
                                                    entry);
    setSelectedEffect(effect);
}

void PEEffectTool::setSelectedEffect(const std::shared_ptr<PEEffectBase>& effect) {
    if (effect == selectedEffect_) {
        return;
    }
    if (selectedEffect_) {
        selectedEffect_->cleanup();
    }
    selectedEffect_ = effect;
    if (!selectedEffect_) {
        return;
    }
    selectedEffect_->setDelegate(std::static_pointer_cast<PEEffectDelegate>(self<PEEffectTool>()));
    buildThumbnailImage();
}

void PEEffectTool::buildThumbnailImage() {
    startPreview(false);
}

void PEEffectTool::effectParameterDidChange(PEEffectBase& effect) {
    if (&effect != selectedEffect_.get() || ended_ || !PEPreviewGate::of<PEEffectTool>().enter()) {
        return;
    }
    startPreview(true);
}

void PEEffectTool::startPreview(bool guarded) {
    if (!selectedEffect_) {
        return;
    }
    const uint64_t generation = ++generation_;
    dispatch_async(PECoreImageRender::backgroundQueue(),
                   [weakTool = weakSelf<PEEffectTool>(), render = selectedEffect_->render(),
                    source = thumbnailImage_, generation, guarded] {
                       auto preview = render(source);
                       dispatch_async(dispatch_get_main_queue(),
                                      weakCall(weakTool, [preview, generation](PEEffectTool& tool) {
                                          tool.previewDidFinish(preview, generation);
                                      }));
                       if (guarded) {
                           PEPreviewGate::of<PEEffectTool>().leave();
                       }
                   });
}

void PEEffectTool::previewDidFinish(const std::shared_ptr<UIImage>& image, uint64_t generation) {
    // A later preview is on its way; the tool's end hands the view back to the editor.
    if (ended_ || generation != generation_) {
        return;
    }
    auto editor = this->editor();
    if (!image) {
        NSLog("PEEffectTool: %@ gave no preview; the picture stays as it was",
              selectedEffect_ ? selectedEffect_->className() : std::string("(null)"));
        return;
    }
    if (editor) {
        editor->imageView()->setImage(image);
    }
}

void PEEffectTool::executeWithCompletionBlock(Completion completion) {
    auto editor = this->editor();
    if (editor) {
        indicatorView_ = PEToolPanel::startIndicator(editor->view(), editor->view()->center());
    }
    // OK takes the settings as they stand now, whatever the last preview showed.
    auto render = selectedEffect_ ? selectedEffect_->render() : PEEffectBase().render();
    PECoreImageRender::renderThenAnswer([render, image = originalImage_] { return render(image); },
                                        std::move(completion), staticClassName(),
                                        "The effect could not be applied.");
}
