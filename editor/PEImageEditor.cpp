#include "editor/PEImageEditor.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/_PEImageEditorViewController.h"

std::shared_ptr<PEImageEditor> PEImageEditor::init() {
    return _PEImageEditorViewController::init();
}

std::shared_ptr<PEImageEditor> PEImageEditor::initWithImage(const std::shared_ptr<UIImage>& image) {
    return initWithImageDelegate(image, {});
}

std::shared_ptr<PEImageEditor>
PEImageEditor::initWithImageDelegate(const std::shared_ptr<UIImage>& image,
                                     std::weak_ptr<PEImageEditorDelegate> delegate) {
    return _PEImageEditorViewController::initWithImageDelegate(image, std::move(delegate));
}

std::shared_ptr<PEImageEditor>
PEImageEditor::initWithDelegate(std::weak_ptr<PEImageEditorDelegate> delegate) {
    return _PEImageEditorViewController::initWithDelegate(std::move(delegate));
}

std::shared_ptr<PEImageEditorTheme> PEImageEditor::theme() const {
    return PEImageEditorTheme::theme();
}
