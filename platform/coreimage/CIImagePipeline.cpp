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
