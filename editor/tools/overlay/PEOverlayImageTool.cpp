#include "editor/tools/overlay/PEOverlayImageTool.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolPanel.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "editor/tools/overlay/PEOverlayImageView.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>

namespace {
constexpr const char* kFilePathKey = "filePath";
constexpr double kIconSide = 50;
} // namespace

std::string PEOverlayImageTool::ClassMethods::defaultTitle(const Class& self) const {
    if (!names_) {
        return PEImageToolBase::ClassMethods::defaultTitle(self);
    }
    return PEImageEditorTheme::localizedStringWithDefault(names_->titleKey, names_->title);
}

bool PEOverlayImageTool::ClassMethods::isAvailable(const Class&) const {
    return names_ && SystemVersion::iosVersion() >= 5.0;
}

std::optional<PlistValue::Dictionary>
PEOverlayImageTool::ClassMethods::optionalInfo(const Class& self) const {
    if (!names_) {
        return std::nullopt;
    }
    return PlistValue::Dictionary{
        {names_->folderKey, defaultFolderPath(self.name, names_->folderName)},
        {"deleteIconAssetsName", ""}};
}

std::string PEOverlayImageTool::defaultFolderPath(const std::string& className,
                                                  const std::string& folder) {
    auto bundle = PEImageEditorTheme::theme()->bundle();
    return bundle ? bundle->bundlePath() + "/" + className + "/" + folder : std::string();
}

void PEOverlayImageTool::setup() {
    auto editor = this->editor();
    // The strip stands on the editor's menu: without it, no tool.
    if (!editor || !editor->menuView()) {
        return;
    }
    auto imageView = editor->imageView();
    originalImage_ = imageView->image();
    // The working view is made to match the picture on screen, which then must stay put.
    editor->fixZoomScaleWithAnimated(true);
    menuScroll_ = PEToolPanel::menuStrip(*editor);
    auto view = editor->view();
    workingView_ = UIView::initWithFrame(
        imageView->superview()->convertRectToView(imageView->frame(), view.get()));
    workingView_->setClipsToBounds(true);
    view->addSubview(workingView_);
    setMenu();
    PEToolPanel::slideIn(*editor, menuScroll_);
}

void PEOverlayImageTool::cleanup() {
    auto editor = this->editor();
    if (!editor || !workingView_) {
        return;
    }
    editor->resetZoomScaleWithAnimated(true);
    workingView_->removeFromSuperview();
    // The class would otherwise hold the last active overlay, and its picture, after the
    // tool is gone.
    setActiveOverlay(nullptr);
    PEToolPanel::slideOutAndRemove(*editor, menuScroll_);
}

void PEOverlayImageTool::setMenu() {
    auto info = toolInfo();
    std::string folder;
    if (info && info->optionalInfo()) {
        const PlistValue::Dictionary& settings = *info->optionalInfo();
        if (auto named = settings.find(names().folderKey);
            named != settings.end() && named->second.string()) {
            folder = *named->second.string();
        }
    }
    if (folder.empty()) {
        folder = defaultFolderPath(className(), names().folderName);
    }
    const auto entries =
        NSFileManager::defaultManager()->contentsOfDirectoryAtPathError(folder, nullptr);
    std::vector<std::shared_ptr<PEToolbarMenuItem>> items;
    const CGRect frame =
        CGRectMake(0, 0, PEToolPanel::kItemWidth, menuScroll_->frame().size.height);
    for (const std::string& entry : entries.value_or(std::vector<std::string>{})) {
        const std::string path = folder + "/" + entry;
        auto picture = UIImage::imageWithContentsOfFile(path);
        if (!picture) {
            continue;
        }
        auto item = PEImageEditorTheme::menuItemWithFrameTargetActionToolInfo(
            frame, weakSelf<PEOverlayImageTool>(),
            weakAction(self<PEOverlayImageTool>(), &PEOverlayImageTool::tappedPanel), nullptr);
        item->setIconImage(Utility::aspectFit(picture, CGSizeMake(kIconSide, kIconSide)));
        PEViewToolInfo::setUserInfo(*item,
                                    NSDictionary::dictionaryWithDictionary({{kFilePathKey, path}}));
        items.push_back(item);
    }
    PEToolPanel::layOutItems(*menuScroll_, items);
}

void PEOverlayImageTool::tappedPanel(UIGestureRecognizer& recognizer) {
    auto item = recognizer.view();
    if (!item) {
        return;
    }
    auto userInfo = std::dynamic_pointer_cast<NSDictionary>(PEViewToolInfo::userInfo(*item));
    const std::string* path = userInfo ? userInfo->objectForKey(kFilePathKey).string() : nullptr;
    // A file gone since the strip was made adds nothing.
    auto picture = path ? UIImage::imageWithContentsOfFile(*path) : nullptr;
    if (picture) {
        auto overlay = overlayWithImage(picture);
        // The frames' own doubles: the frame accessors round to single precision.
        const CGSize view = workingView_->frame().size, own = overlay->frame().size;
        const double w = view.width, h = view.height;
        overlay->setScale(std::min(w * 0.5 / own.width, h * 0.5 / own.height));
        overlay->setCenter(CGPointMake(w * 0.5, h * 0.5));
        workingView_->addSubview(overlay);
        setActiveOverlay(overlay);
    }
    PEToolPanel::flash(item);
}

void PEOverlayImageTool::executeWithCompletionBlock(Completion completion) {
    if (!editor() || !workingView_) {
        return;
    }
    setActiveOverlay(nullptr);
    // The views are read here, on the main thread; only the laying over runs in the
    // background.
    answerInBackground(
        [picture = originalImage_,
         overlays = Utility::renderedOver(*workingView_, originalImage_)] {
            return Utility::overlaid(picture, overlays, picture ? picture->size() : CGSizeZero);
        },
        std::move(completion));
}
