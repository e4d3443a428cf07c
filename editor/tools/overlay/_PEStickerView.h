// A sticker laid over the picture by the sticker tool.
#pragma once

#include "editor/tools/overlay/PEOverlayImageViewClass.h"

class _PEStickerView : public PEOverlayImageViewClass<_PEStickerView> {
    NS_OBJECT(_PEStickerView)
public:
    // Makes `view` (or none) the active sticker.
    static void setActiveStickerView(const std::shared_ptr<PEOverlayImageView>& view) {
        setActiveView(state(), view);
    }

protected:
    _PEStickerView() = default;
};
