// The lazy pixel pipeline behind a CIImage, as the filters and the context build on it: a
// libvips image of 32-bit float samples in 0...1, rows from the top of the extent down,
// and how its alpha is held. Opaque pictures carry three bands (red, green, blue) and
// never pay for alpha; the others carry four, straight or premultiplied, whichever the
// last filter produced. Colour filters want straight colour, filters that move or mix
// pixels want premultiplied; each asks for the form it needs and the conversion is added
// only when the form differs.
#pragma once

#include <vips/vips8>

enum class CIAlpha { Opaque, Straight, Premultiplied };

class CIImagePipeline {
public:
    CIImagePipeline(vips::VImage pixels, CIAlpha alpha)
        : pixels_(std::move(pixels)), alpha_(alpha) {}

    const vips::VImage& pixels() const { return pixels_; }
    CIAlpha alpha() const { return alpha_; }
    int width() const { return pixels_.width(); }
    int height() const { return pixels_.height(); }

    // Four bands, colour multiplied by alpha.
    vips::VImage premultiplied() const;
    // Four bands, colour not multiplied by alpha (transparent pixels are black).
    vips::VImage straight() const;

private:
    vips::VImage pixels_;
    CIAlpha alpha_;
};
