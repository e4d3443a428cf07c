#include "editor/PEImageEditorTheme.h"

#include "editor/PEImageEditorThemeDelegate.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/foundation/NSBundle.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

PEImageEditorTheme::PEImageEditorTheme()
    : backgroundColor_(UIColor::whiteColor()),
      toolbarColor_(UIColor::colorWithWhiteAlpha(1.0, 0.8)),
      toolbarTextColor_(UIColor::blackColor()),
      toolbarSelectedButtonColor_(UIColor::cyanColor()->colorWithAlphaComponent(0.2)),
      toolbarTextFont_(UIFont::systemFontOfSize(10)) {}

std::mutex& PEImageEditorTheme::instanceMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<PEImageEditorTheme>& PEImageEditorTheme::instance() {
    static std::shared_ptr<PEImageEditorTheme> shared;
    return shared;
}

std::shared_ptr<PEImageEditorTheme> PEImageEditorTheme::theme() {
    std::lock_guard lock(instanceMutex());
    if (!instance()) {
        instance() = make<PEImageEditorTheme>();
    }
    return instance();
}

std::shared_ptr<PEImageEditorTheme> PEImageEditorTheme::alloc() {
    std::lock_guard lock(instanceMutex());
    if (instance()) {
        return nullptr;
    }
    instance() = make<PEImageEditorTheme>();
    return instance();
}

void PEImageEditorTheme::resetForTesting() {
    std::lock_guard lock(instanceMutex());
    instance().reset();
}

std::shared_ptr<NSBundle> PEImageEditorTheme::bundle() const {
    const std::string path = NSBundle::mainBundle()->pathForResourceOfType(bundleName_, "bundle");
    if (path.empty()) {
        return nullptr;
    }
    if (!bundle_ || bundle_->bundlePath() != path) {
        bundle_ = NSBundle::bundleWithPath(path);
    }
    return bundle_;
}

std::shared_ptr<UIImage> PEImageEditorTheme::imageNamedImage(const std::string& className,
                                                             const std::string& fileName) {
    auto theme = PEImageEditorTheme::theme();
    auto bundle = theme->bundle();
    if (!bundle) {
        return nullptr;
    }
    return Utility::fastImageWithContentsOfFile(bundle->bundlePath() + "/" + className + "/" +
                                                theme->toolIconColor() + "/" + fileName);
}

std::string PEImageEditorTheme::localizedStringWithDefault(const std::string& key,
                                                           const std::string& defaultValue) {
    // With an empty value the main bundle answers the key itself when it has no
    // translation: only a different text counts as the application's own.
    std::string text = NSBundle::mainBundle()->localizedStringForKeyValueTable(key, "", "");
    if (text != key) {
        return text;
    }
    if (auto bundle = theme()->bundle()) {
        return bundle->localizedStringForKeyValueTable(key, defaultValue, "");
    }
    // Without the editor bundle, as with a bundle that lacks the key.
    return defaultValue.empty() ? key : defaultValue;
}

std::shared_ptr<UIView> PEImageEditorTheme::indicatorView() {
    if (auto delegate = theme()->delegate()) {
        if (auto view = delegate->imageEditorThemeActivityIndicatorView()) {
            return view;
        }
    }
    auto indicator = UIActivityIndicatorView::initWithActivityIndicatorStyle(
        UIActivityIndicatorViewStyle::WhiteLarge);
    indicator->setFrame(CGRectMake(0, 0, 80, 80));
    indicator->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.0, 0.6));
    indicator->layer()->setCornerRadius(5);
    return indicator;
}

std::shared_ptr<PEToolbarMenuItem> PEImageEditorTheme::menuItemWithFrameTargetActionToolInfo(
    const CGRect& frame, std::weak_ptr<NSObject> target, UIGestureRecognizer::Action action,
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    return PEToolbarMenuItem::initWithFrameTargetActionToolInfo(frame, std::move(target),
                                                                std::move(action), toolInfo);
}
