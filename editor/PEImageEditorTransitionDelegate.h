// What an editor embedded in another screen tells its delegate around the closing flight
// that gives the picture back to that screen's image view. The editor's delegate receives
// these when it adopts this protocol too. Both methods are optional: absent, nothing.
#pragma once

#include "editor/PEImageEditorDelegate.h"

#include <memory>

class UIImageView;

class PEImageEditorTransitionDelegate : public PEImageEditorDelegate {
public:
    // As the closing flight starts; the other screen's image view is hidden.
    virtual void imageEditorWillDismissWithImageViewCanceled(
        PEImageEditor& editor, const std::shared_ptr<UIImageView>& imageView, bool canceled) {}
    // After the flight: the editor has left its parent and the image view shows again.
    virtual void imageEditorDidDismissWithImageViewCanceled(
        PEImageEditor& editor, const std::shared_ptr<UIImageView>& imageView, bool canceled) {}
};
