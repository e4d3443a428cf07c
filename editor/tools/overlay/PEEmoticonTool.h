// The editor's emoticons tool: the pictures of its folder ("EmoticonPath", by default
// "Emoticons" in the tool's folder of the editor bundle) laid over the picture as
// _PEEmoticonView overlays.
#pragma once

#include "editor/tools/overlay/PEOverlayImageTool.h"

class PEEmoticonTool : public PEOverlayImageTool {
    NS_OBJECT(PEEmoticonTool)
public:
    static const Names kNames;

    // "PEEmoticonTool_DefaultTitle", "Emoticons" by default; the folder under "EmoticonPath".
    class ClassMethods : public PEOverlayImageTool::ClassMethods {
    public:
        ClassMethods() : PEOverlayImageTool::ClassMethods(kNames) {}
    };

    // Made by the class registry when the editor opens the tool.
    PEEmoticonTool() = default;

protected:
    const Names& names() const override { return kNames; }
    std::shared_ptr<PEOverlayImageView>
    overlayWithImage(const std::shared_ptr<UIImage>& image) override;
    void setActiveOverlay(const std::shared_ptr<PEOverlayImageView>& overlay) override;
};
