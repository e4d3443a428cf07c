// An emoticon laid over the picture by the emoticon tool.
#pragma once

#include "editor/tools/overlay/PEOverlayImageViewClass.h"

class _PEEmoticonView : public PEOverlayImageViewClass<_PEEmoticonView> {
    NS_OBJECT(_PEEmoticonView)
public:
    // Makes `view` (or none) the active emoticon.
    static void setActiveEmoticonView(const std::shared_ptr<PEOverlayImageView>& view) {
        setActiveView(state(), view);
    }

protected:
    _PEEmoticonView() = default;
};
