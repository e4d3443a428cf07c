#include "editor/tools/overlay/PEStickerTool.h"

#include "editor/tools/overlay/_PEStickerView.h"

const PEOverlayImageTool::Names PEStickerTool::kNames = {"PEStickerTool_DefaultTitle", "Sticker",
                                                         "stickerPath", "stickers"};

std::shared_ptr<PEOverlayImageView>
PEStickerTool::overlayWithImage(const std::shared_ptr<UIImage>& image) {
    return _PEStickerView::initWithImageTool(image, *this);
}

void PEStickerTool::setActiveOverlay(const std::shared_ptr<PEOverlayImageView>& overlay) {
    _PEStickerView::setActiveStickerView(overlay);
}
