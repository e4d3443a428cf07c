#include "platform/coreimage/CIImagePipeline.h"

using vips::VImage;

namespace {
VImage withOpaqueAlpha(const VImage& rgb) {
    return rgb.bandjoin_const({1.0});
}

vips::VOption* unitAlpha() {
    return VImage::option()->set("max_alpha", 1.0);
}
} // namespace

std::shared_ptr<const CIImagePipeline> CIImagePipeline::withBytes(VImage bgra, bool opaque) {
    const VImage samples = opaque ? VImage::bandjoin({bgra[2], bgra[1], bgra[0]})
                                  : VImage::bandjoin({bgra[2], bgra[1], bgra[0], bgra[3]});
    auto pipeline = std::make_shared<CIImagePipeline>(
        samples.linear(1.0 / 255.0, 0.0), opaque ? CIAlpha::Opaque : CIAlpha::Premultiplied);
    pipeline->bytes_ = std::move(bgra);
    return pipeline;
}

VImage CIImagePipeline::premultiplied() const {
    switch (alpha_) {
    case CIAlpha::Opaque:
        return withOpaqueAlpha(pixels_);
    case CIAlpha::Straight:
        return pixels_.premultiply(unitAlpha());
    case CIAlpha::Premultiplied:
        break;
    }
    return pixels_;
}

VImage CIImagePipeline::straight() const {
    switch (alpha_) {
    case CIAlpha::Opaque:
        return withOpaqueAlpha(pixels_);
    case CIAlpha::Premultiplied:
        return pixels_.unpremultiply(unitAlpha());
    case CIAlpha::Straight:
        break;
    }
    return pixels_;
}
