// The image editor, as the app sees it: a screen editing one picture, presented modally,
// that hands nothing back (its finish menu copies, saves or shares the picture). Every
// factory returns the editor screen itself (_PEImageEditorViewController), with the whole
// tool tree found at creation.
#pragma once

#include "editor/PEImageEditorDelegate.h"
#include "platform/uikit/UIViewController.h"

#include <memory>

class PEImageEditorTheme;
class PEImageToolInfo;
class UIImage;
class UIImageView;

class PEImageEditor : public UIViewController {
    NS_OBJECT(PEImageEditor)
public:
    // A screen without a picture.
    static std::shared_ptr<PEImageEditor> init();
    static std::shared_ptr<PEImageEditor> alloc() { return init(); }
    // A screen editing a copy of `image`.
    static std::shared_ptr<PEImageEditor> initWithImage(const std::shared_ptr<UIImage>& image);
    static std::shared_ptr<PEImageEditor>
    initWithImageDelegate(const std::shared_ptr<UIImage>& image,
                          std::weak_ptr<PEImageEditorDelegate> delegate);
    static std::shared_ptr<PEImageEditor>
    initWithDelegate(std::weak_ptr<PEImageEditorDelegate> delegate);

    std::shared_ptr<PEImageEditorDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<PEImageEditorDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    // The root of the tool tree: the editor's own entry, every available tool below it.
    std::shared_ptr<PEImageToolInfo> toolInfo() const { return toolInfo_; }
    std::shared_ptr<PEImageEditorTheme> theme() const;

    // Embedded mode: the editor takes over `imageView` of `parent`'s screen, flying its
    // picture into place. Does nothing at this level; the editor screen enters the mode.
    virtual void showInViewControllerWithImageView(const std::shared_ptr<UIViewController>& parent,
                                                   const std::shared_ptr<UIImageView>& imageView) {}

protected:
    PEImageEditor() = default;

    void setToolInfo(std::shared_ptr<PEImageToolInfo> toolInfo) { toolInfo_ = std::move(toolInfo); }

private:
    std::weak_ptr<PEImageEditorDelegate> delegate_;
    std::shared_ptr<PEImageToolInfo> toolInfo_;
};
