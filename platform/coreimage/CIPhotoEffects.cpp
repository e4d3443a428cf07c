#include "platform/coreimage/CIPhotoEffects.h"

#include "platform/coreimage/CIKernels.h"

using namespace CIKernels;

namespace {

// A look is one affine colour transform, applied in this order to straight colour:
//   1. saturation: towards luma grey (0 gives grey, 1 leaves colour as it is);
//   2. tint: each channel scaled (warm looks raise red and lower blue);
//   3. contrast about mid grey: (c - 0.5) * contrast + 0.5;
//   4. tonal range: 0...1 mapped onto black...white (a raised black fades the shadows).
// Greys come from a saturation of 0 and a neutral tint, so they give R = G = B exactly.
struct Look {
    const char* name;
    double saturation;
    std::array<double, 3> tint;
    double contrast;
    double black;
    double white;
};

// clang-format off
constexpr Look kLooks[] = {
    //  name                     saturation  tint (r, g, b)        contrast black  white
    // Warm and faded, like an instant print: softer, lifted blacks, creamy whites.
    {"CIPhotoEffectInstant",     0.80,       {1.06, 1.00, 0.86},   0.90,    0.08,  0.96},
    // Cool cross-processed: a blue-green cast and a little extra contrast.
    {"CIPhotoEffectProcess",     0.90,       {0.90, 1.02, 1.10},   1.10,    0.04,  1.00},
    // Warm transfer print: golden cast, vivid and a little contrasty.
    {"CIPhotoEffectTransfer",    1.10,       {1.08, 1.00, 0.88},   1.08,    0.02,  1.00},
    // Chrome slide film: saturated and punchy, neutral in tint.
    {"CIPhotoEffectChrome",      1.30,       {1.00, 1.00, 1.00},   1.15,    0.00,  1.00},
    // Faded: washed-out colour, raised blacks and dimmed whites.
    {"CIPhotoEffectFade",        0.60,       {1.02, 1.00, 0.98},   0.85,    0.10,  0.92},
    // Tonal: grey with its full tonal range and a gentle lift of the shadows.
    {"CIPhotoEffectTonal",       0.00,       {1.00, 1.00, 1.00},   0.95,    0.03,  1.00},
    // Noir: hard black and white.
    {"CIPhotoEffectNoir",        0.00,       {1.00, 1.00, 1.00},   1.35,    0.00,  1.00},
    // Mono: plain grey, tones untouched.
    {"CIPhotoEffectMono",        0.00,       {1.00, 1.00, 1.00},   1.00,    0.00,  1.00},
};
// clang-format on

CIImagePtr applyLook(const Look& look, const CIImage& input) {
    const double range = look.white - look.black;
    Matrix3 tint{};
    for (int channel = 0; channel < 3; ++channel) {
        tint[channel * 4] = range * look.contrast * look.tint[channel];
    }
    const double offset = look.black + range * 0.5 * (1 - look.contrast);
    return affineColour(input, multiply(tint, saturationMatrix(look.saturation)),
                        {offset, offset, offset});
}

} // namespace

std::vector<CIFilterDefinition> photoEffectDefinitions() {
    std::vector<CIFilterDefinition> filters;
    for (const Look& look : kLooks) {
        filters.push_back(
            {look.name, {imageInput()}, [&look](const CIImage& input, const CIFilter&) {
                 return applyLook(look, input);
             }});
    }
    return filters;
}
