#include "editor/tools/filter/PEFilterTool.h"

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
#include "editor/tools/filter/PEFilterBaseProtocol.h"
#include "platform/base/ClassRegistry.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/WeakAction.h"

namespace {
constexpr double kThumbnailPoints = 50;
} // namespace

std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
PEFilterTool::ClassMethods::subtools(const Class&) const {
    return PEImageToolInfo::toolsWithToolClass("PEFilterBase");
}

std::string PEFilterTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEFilterTool_DefaultTitle", "Filter");
}

bool PEFilterTool::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

void PEFilterTool::setup() {
    auto editor = this->editor();
    if (!editor) {
        return;
    }
    originalImage_ = editor->originalImage();
    result_ = originalImage_;

    menuScroll_ = PEToolPanel::menuStrip(*editor);
    if (!menuScroll_) {
        return;
    }
    setFilterMenu();
    PEToolPanel::slideIn(*editor, menuScroll_);
}

void PEFilterTool::cleanup() {
    ended_ = true;
    waitingCompletions_.clear();
    if (auto editor = this->editor(); editor && menuScroll_) {
        PEToolPanel::slideOutAndRemove(*editor, menuScroll_);
    }
}

void PEFilterTool::setFilterMenu() {
    auto info = toolInfo();
    if (!info || !menuScroll_) {
        return;
    }
    std::vector<std::pair<std::weak_ptr<PEToolbarMenuItem>, std::shared_ptr<PEImageToolInfo>>>
        waiting;
    PEToolPanel::fillWithEntries(*menuScroll_, info->sortedSubtools(), weakSelf<PEFilterTool>(),
                                 weakAction(self<PEFilterTool>(), &PEFilterTool::tappedFilterPanel),
                                 [&](const std::shared_ptr<PEToolbarMenuItem>& item) {
                                     if (!item->iconImage()) {
                                         waiting.emplace_back(item,
                                                              PEViewToolInfo::toolInfo(*item));
                                     }
                                 });
    if (waiting.empty()) {
        return;
    }
    const double side = kThumbnailPoints * UIScreen::mainScreen()->scale();
    dispatch_async(PECoreImageRender::backgroundQueue(), [image = originalImage_, side,
                                                          waiting = std::move(waiting)] {
        // One small copy for every thumbnail: filtering fourteen full pictures would take as
        // long as fourteen previews.
        const std::shared_ptr<UIImage> thumbnailSource =
            Utility::aspectFill(image, CGSizeMake(side, side));
        if (!thumbnailSource) {
            return;
        }
        for (const auto& [weakItem, entry] : waiting) {
            dispatch_async(PECoreImageRender::backgroundQueue(), [thumbnailSource, entry,
                                                                  weakItem] {
                auto thumbnail = filteredImageWithToolInfo(thumbnailSource, entry);
                if (!thumbnail) {
                    return;
                }
                dispatch_async(dispatch_get_main_queue(), [weakItem, thumbnail] {
                    if (auto item = weakItem.lock()) {
                        item->setIconImage(thumbnail);
                    }
                });
            });
        }
    });
}

void PEFilterTool::tappedFilterPanel(UIGestureRecognizer& sender) {
    auto item = sender.view();
    auto entry = item ? PEViewToolInfo::toolInfo(*item) : nullptr;
    if (!entry || ended_ || !PEPreviewGate::of<PEFilterTool>().enter()) {
        return;
    }
    PEToolPanel::flash(item);

    const uint64_t generation = ++generation_;
    rendering_ = true;
    dispatch_async(PECoreImageRender::backgroundQueue(), [weakTool = weakSelf<PEFilterTool>(),
                                                          image = originalImage_, entry,
                                                          generation] {
        auto preview = filteredImageWithToolInfo(image, entry);
        dispatch_async(
            dispatch_get_main_queue(),
            weakCall(weakTool, [preview, generation, name = entry->toolName()](PEFilterTool& tool) {
                tool.previewDidFinish(preview, generation, name);
            }));
        PEPreviewGate::of<PEFilterTool>().leave();
    });
}

void PEFilterTool::previewDidFinish(std::shared_ptr<UIImage> image, uint64_t generation,
                                    const std::string& filterName) {
    // A later tap's preview is on its way; the tool's end hands the view back to the editor.
    if (ended_ || generation != generation_) {
        return;
    }
    rendering_ = false;
    if (image) {
        result_ = std::move(image);
        if (auto editor = this->editor()) {
            editor->imageView()->setImage(result_);
        }
    } else {
        NSLog("PEFilterTool: %@ could not be applied; the picture stays as it was", filterName);
    }
    for (auto& completion : std::exchange(waitingCompletions_, {})) {
        completion(result_, nullptr, nullptr);
    }
}

void PEFilterTool::executeWithCompletionBlock(Completion completion) {
    if (rendering_) {
        waitingCompletions_.push_back(std::move(completion));
        return;
    }
    completion(result_, nullptr, nullptr);
}

std::shared_ptr<UIImage>
PEFilterTool::filteredImageWithToolInfo(const std::shared_ptr<UIImage>& image,
                                        const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    const Class* cls = toolInfo ? NSClassFromString(toolInfo->toolName()) : nullptr;
    const auto* filter =
        cls ? ClassRegistry::shared().classConformingTo<PEFilterBaseProtocol>(*cls) : nullptr;
    return filter ? filter->applyFilter(*cls, image) : nullptr;
}
