#include "editor/tools/overlay/PEEmoticonTool.h"

#include "editor/tools/overlay/_PEEmoticonView.h"

const PEOverlayImageTool::Names PEEmoticonTool::kNames = {"PEEmoticonTool_DefaultTitle",
                                                          "Emoticons", "EmoticonPath", "Emoticons"};

std::shared_ptr<PEOverlayImageView>
PEEmoticonTool::overlayWithImage(const std::shared_ptr<UIImage>& image) {
    return _PEEmoticonView::initWithImageTool(image, *this);
}

void PEEmoticonTool::setActiveOverlay(const std::shared_ptr<PEOverlayImageView>& overlay) {
    _PEEmoticonView::setActiveEmoticonView(overlay);
}
