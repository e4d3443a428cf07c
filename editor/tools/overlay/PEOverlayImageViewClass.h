// What makes an overlay class of its own: the state its overlays share (the active one and
// the handle drag's reference), kept per class, and the factory that builds an overlay of
// it. The emoticon and sticker overlays are each one of these.
#pragma once

#include "editor/tools/overlay/PEOverlayImageView.h"

template <class Derived> class PEOverlayImageViewClass : public PEOverlayImageView {
public:
    // A new overlay of `image`, its delete icon from `tool`.
    static std::shared_ptr<Derived> initWithImageTool(const std::shared_ptr<UIImage>& image,
                                                      const PEImageToolBase& tool) {
        auto overlay = make<Derived>();
        overlay->buildWithImageTool(image, tool);
        return overlay;
    }
    // The class's shared state; made empty again between tests.
    static ClassState& state() {
        static ClassState shared;
        return shared;
    }
    static void resetForTesting() { state() = ClassState{}; }

protected:
    PEOverlayImageViewClass() = default;
    ClassState& classState() const override { return state(); }
};
