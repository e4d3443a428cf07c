// The editor's look and texts, in one shared object: colours, font and status bar style,
// the editor's resource bundle, localised texts (the application's own translation first,
// then the editor bundle's, then the caller's default), the per-tool picture files, the
// activity indicator and the menu items. Its properties may change at any time; views read
// them when they are built.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIGestureRecognizer.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class NSBundle;
class PEImageEditorThemeDelegate;
class PEImageToolInfo;
class PEToolbarMenuItem;
class UIColor;
class UIFont;
class UIImage;
class UIView;

class PEImageEditorTheme : public NSObject {
    NS_OBJECT(PEImageEditorTheme)
public:
    // The shared instance, made on first use.
    static std::shared_ptr<PEImageEditorTheme> theme();
    // The shared instance while none exists yet; null once one does, so that there is
    // never a second theme.
    static std::shared_ptr<PEImageEditorTheme> alloc();
    // Forgets the shared instance (between tests).
    static void resetForTesting();

    std::shared_ptr<PEImageEditorThemeDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<PEImageEditorThemeDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    // The resource bundle's name, without its ".bundle" extension.
    const std::string& bundleName() const { return bundleName_; }
    void setBundleName(std::string name) { bundleName_ = std::move(name); }
    std::shared_ptr<UIColor> backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::shared_ptr<UIColor> color) { backgroundColor_ = std::move(color); }
    std::shared_ptr<UIColor> toolbarColor() const { return toolbarColor_; }
    void setToolbarColor(std::shared_ptr<UIColor> color) { toolbarColor_ = std::move(color); }
    // The name of the icon colour's folder in each tool's folder ("black", "white").
    const std::string& toolIconColor() const { return toolIconColor_; }
    void setToolIconColor(std::string name) { toolIconColor_ = std::move(name); }
    std::shared_ptr<UIColor> toolbarTextColor() const { return toolbarTextColor_; }
    void setToolbarTextColor(std::shared_ptr<UIColor> color) {
        toolbarTextColor_ = std::move(color);
    }
    std::shared_ptr<UIColor> toolbarSelectedButtonColor() const {
        return toolbarSelectedButtonColor_;
    }
    void setToolbarSelectedButtonColor(std::shared_ptr<UIColor> color) {
        toolbarSelectedButtonColor_ = std::move(color);
    }
    std::shared_ptr<UIFont> toolbarTextFont() const { return toolbarTextFont_; }
    void setToolbarTextFont(std::shared_ptr<UIFont> font) { toolbarTextFont_ = std::move(font); }
    int64_t statusBarStyle() const { return statusBarStyle_; }
    void setStatusBarStyle(int64_t style) { statusBarStyle_ = style; }

    // The resource bundle "<bundleName>.bundle" inside the main bundle (the program's code
    // lives in no other bundle); null when there is none.
    std::shared_ptr<NSBundle> bundle() const;

    // The file `fileName` in the folder of the tool class `className` and the current icon
    // colour of the editor bundle; null without the bundle or the file.
    static std::shared_ptr<UIImage> imageNamedImage(const std::string& className,
                                                    const std::string& fileName);
    // The text for `key`: the main bundle's translation when it has one other than the
    // key itself, else the editor bundle's, else `defaultValue`, else the key.
    static std::string localizedStringWithDefault(const std::string& key,
                                                  const std::string& defaultValue);
    // The delegate's indicator when it gives one; else an 80 x 80 large white wheel on a
    // rounded dark square, not started.
    static std::shared_ptr<UIView> indicatorView();
    static std::shared_ptr<PEToolbarMenuItem>
    menuItemWithFrameTargetActionToolInfo(const CGRect& frame, std::weak_ptr<NSObject> target,
                                          UIGestureRecognizer::Action action,
                                          const std::shared_ptr<PEImageToolInfo>& toolInfo);

protected:
    PEImageEditorTheme();

private:
    static std::mutex& instanceMutex();
    static std::shared_ptr<PEImageEditorTheme>& instance();

    std::weak_ptr<PEImageEditorThemeDelegate> delegate_;
    std::string bundleName_ = "PEImageEditor";
    std::shared_ptr<UIColor> backgroundColor_;
    std::shared_ptr<UIColor> toolbarColor_;
    std::string toolIconColor_ = "black";
    std::shared_ptr<UIColor> toolbarTextColor_;
    std::shared_ptr<UIColor> toolbarSelectedButtonColor_;
    std::shared_ptr<UIFont> toolbarTextFont_;
    int64_t statusBarStyle_ = 0;
    // The bundle last found, kept while its path stays the same, so that its string
    // tables are read once.
    mutable std::shared_ptr<NSBundle> bundle_;
};
