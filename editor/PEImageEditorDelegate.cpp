#include "editor/PEImageEditorDelegate.h"

#include "editor/PEImageEditor.h"

void PEImageEditorDelegate::imageEditorDidCancel(PEImageEditor& editor) {
    editor.dismissViewControllerAnimatedCompletion(true, nullptr);
}
