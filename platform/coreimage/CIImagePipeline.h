// The lazy pixel pipeline behind a CIImage, as the filters and the context build on it: a
// libvips image of 32-bit float samples in 0...1, rows from the top of the extent down,
// and how its alpha is held. Opaque pictures carry three bands (red, green, blue) and
// never pay for alpha; the others carry four, straight or premultiplied, whichever the
// last filter produced. Colour filters want straight colour, filters that move or mix
// pixels want premultiplied; each asks for the form it needs and the conversion is added
// only when the form differs.
//
// Pixels that come from a premultiplied bitmap, and what filters that only move pixels or
// change colour one pixel at a time make of them, are also held as the bitmap's own bytes
// (premultiplied B, G, R, A): those filters and the context then work on a quarter of the
// data with no conversions, as the library's own 8-bit operations do. The float samples
// are then derived from the bytes, lazily, for filters that need them.
#pragma once

#include <memory>
#include <optional>
#include <vips/vips8>

enum class CIAlpha { Opaque, Straight, Premultiplied };

class CIImagePipeline {
public:
    CIImagePipeline(vips::VImage pixels, CIAlpha alpha)
        : pixels_(std::move(pixels)), alpha_(alpha) {}
    // Premultiplied pixels held as bytes: four bands of 8-bit B, G, R, A. `opaque` when
    // every alpha is 255, so the float samples are three opaque bands.
    static std::shared_ptr<const CIImagePipeline> withBytes(vips::VImage bgra, bool opaque);

    const vips::VImage& pixels() const { return pixels_; }
    CIAlpha alpha() const { return alpha_; }
    int width() const { return pixels_.width(); }
    int height() const { return pixels_.height(); }
    // The premultiplied B, G, R, A bytes, when the pipeline holds them.
    const std::optional<vips::VImage>& bytes() const { return bytes_; }

    // Four bands, colour multiplied by alpha.
    vips::VImage premultiplied() const;
    // Four bands, colour not multiplied by alpha (transparent pixels are black).
    vips::VImage straight() const;

private:
    vips::VImage pixels_;
    CIAlpha alpha_;
    std::optional<vips::VImage> bytes_;
};
