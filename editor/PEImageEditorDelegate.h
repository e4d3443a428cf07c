// What the image editor tells its delegate. Every method is optional: the default bodies
// are what an absent method means.
#pragma once

#include <memory>

class PEImageEditor;
class UIImage;

class PEImageEditorDelegate {
public:
    virtual ~PEImageEditorDelegate() = default;
    // Cancel on the editor's main bar. Absent, the editor dismisses itself; a delegate that
    // answers decides what becomes of the editor.
    virtual void imageEditorDidCancel(PEImageEditor& editor);
    // Declared for delegates; the editor never sends it (the edited picture leaves through
    // its finish menu).
    virtual void imageEditorDidFinishEdittingWithImage(PEImageEditor& editor,
                                                       const std::shared_ptr<UIImage>& image) {}
};
