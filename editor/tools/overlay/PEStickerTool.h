// The editor's stickers tool: the pictures of its folder ("stickerPath", by default
// "stickers" in the tool's folder of the editor bundle) laid over the picture as
// _PEStickerView overlays.
#pragma once

#include "editor/tools/overlay/PEOverlayImageTool.h"

class PEStickerTool : public PEOverlayImageTool {
    NS_OBJECT(PEStickerTool)
public:
    static const Names kNames;

    // "PEStickerTool_DefaultTitle", "Sticker" by default; the folder under "stickerPath".
    class ClassMethods : public PEOverlayImageTool::ClassMethods {
    public:
        ClassMethods() : PEOverlayImageTool::ClassMethods(kNames) {}
    };

    // Made by the class registry when the editor opens the tool.
    PEStickerTool() = default;

protected:
    const Names& names() const override { return kNames; }
    std::shared_ptr<PEOverlayImageView>
    overlayWithImage(const std::shared_ptr<UIImage>& image) override;
    void setActiveOverlay(const std::shared_ptr<PEOverlayImageView>& overlay) override;
};
