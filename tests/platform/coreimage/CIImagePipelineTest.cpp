#include "platform/coreimage/CIVector.h"
#include "platform/graphics/NSValue.h"
#include "tests/platform/coreimage/FilterTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// 12 x 8 distinct colours over alphas from opaque to clear, premultiplied.
CGImageRef translucentPicture() {
    return makeImage(12, 8, CGImagePixelFormat::ARGB32Premultiplied, [](size_t x, size_t y) {
        const uint32_t alphas[] = {255, 255, 200, 128, 37, 0};
        const uint32_t a = alphas[(x + 2 * y) % 6];
        const auto channel = [a](size_t level) {
            return static_cast<uint32_t>(level % 256) * a / 255;
        };
        return a << 24 | channel(x * 21 + 3) << 16 | channel(y * 33 + 90) << 8 |
               channel(x * y * 7 + 20);
    });
}

// The same pixels held as float samples: a bloom of radius and intensity 0 hands its input
// on unchanged, as floats.
CIImagePtr asFloatSamples(const CGImageRef& bitmap) {
    return filtered("CIBloom", bitmap, {{"inputRadius", number(0)}, {"inputIntensity", number(0)}});
}

CIImagePtr apply(const std::string& name, const CIImagePtr& input, const Parameters& parameters) {
    CIFilterPtr filter = CIFilter::filterWithName(name);
    filter->setValueForKey(input, kCIInputImageKey);
    for (const auto& [key, value] : parameters) {
        filter->setValueForKey(value, key);
    }
    return filter->outputImage();
}

// Filters that work on a bitmap's own bytes give what they give on float samples of the
// same pixels, within one step of rounding: colour unpremultiplied and premultiplied
// again, channels in their order, positions where they are.
TEST(CIImagePipelineTest, BytesAndFloatSamplesGiveTheSamePicture) {
    struct Case {
        const char* name;
        Parameters parameters;
    };
    const Case cases[] = {
        {"CIColorInvert", {}},
        {"CISepiaTone", {{"inputIntensity", number(0.7)}}},
        {"CIHueAdjust", {{"inputAngle", number(1)}}},
        {"CIColorControls",
         {{"inputSaturation", number(1.3)},
          {"inputBrightness", number(0.1)},
          {"inputContrast", number(1.2)}}},
        {"CIPhotoEffectInstant", {}},
        {"CIToneCurve",
         {{"inputPoint1", CIVector::vectorWithXY(0.25, 0.1)},
          {"inputPoint3", CIVector::vectorWithXY(0.75, 0.9)}}},
        {"CISRGBToneCurveToLinear", {}},
        {"CIExposureAdjust", {{"inputEV", number(0.7)}}},
        {"CIGammaAdjust", {{"inputPower", number(0.6)}}},
        {"CIColorPosterize", {{"inputLevels", number(4)}}},
        {"CIVignetteEffect",
         {{"inputCenter", CIVector::vectorWithXY(7, 3)},
          {"inputRadius", number(5)},
          {"inputIntensity", number(0.8)}}},
        // A radius of 0 darkens everything alike.
        {"CIVignetteEffect", {{"inputRadius", number(0)}, {"inputIntensity", number(0.5)}}},
        {"CIPixellate", {{"inputScale", number(3)}, {"inputCenter", CIVector::vectorWithXY(2, 1)}}},
        {"CIAffineTransform",
         {{"inputTransform", NSValue::valueWithCGAffineTransform(CGAffineTransformTranslate(
                                 CGAffineTransformMakeRotation(0.3), 1.5, -2))}}},
    };
    const CGImageRef picture = translucentPicture();
    const CGImageRef opaque = opaquePicture(12, 8, [](size_t x, size_t y) {
        return static_cast<uint32_t>(x * 21) << 16 | static_cast<uint32_t>(y * 30) << 8 |
               static_cast<uint32_t>(x * y * 2);
    });
    for (const CGImageRef& bitmap : {picture, opaque}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (bitmap == opaque ? ", opaque" : ", translucent"));
            const CIImagePtr fromBytes =
                apply(c.name, CIImage::imageWithCGImage(bitmap), c.parameters);
            const CIImagePtr fromFloats = apply(c.name, asFloatSamples(bitmap), c.parameters);
            ASSERT_TRUE(fromBytes && fromFloats);
            ASSERT_EQ(fromBytes->extent(), fromFloats->extent());
            const CGImageRef a = renderWhole(fromBytes), b = renderWhole(fromFloats);
            ASSERT_TRUE(a && b);
            for (size_t y = 0; y < a->height(); ++y) {
                for (size_t x = 0; x < a->width(); ++x) {
                    const uint32_t p = a->pixelAt(x, y), q = b->pixelAt(x, y);
                    for (int shift = 0; shift < 32; shift += 8) {
                        EXPECT_LE(std::abs(int(p >> shift & 0xff) - int(q >> shift & 0xff)), 1)
                            << "pixel " << x << "," << y << ": " << std::hex << p << " " << q;
                    }
                }
            }
        }
    }
}

// A bitmap whose skipped fourth bytes are not all opaque still renders opaque, as it is
// and through the filters that keep its bytes.
TEST(CIImagePipelineTest, SkippedBytesOfOpaqueBitmapsReadAsOpaque) {
    struct Case {
        const char* name;
        size_t width;
        std::function<uint32_t(size_t x, size_t y)> fourthByte;
    };
    const Case cases[] = {
        {"junk everywhere", 4, [](size_t x, size_t y) { return uint32_t(x * 50 + y); }},
        // An odd width leaves a last pixel outside the two-pixel words.
        {"junk in one row's last pixel", 5,
         [](size_t x, size_t y) { return x == 4 && y == 2 ? 0x10u : 0xffu; }},
        {"all opaque", 5, [](size_t, size_t) { return 0xffu; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CGImageRef rgb =
            makeImage(c.width, 3, CGImagePixelFormat::RGB24, [&](size_t x, size_t y) {
                return c.fourthByte(x, y) << 24 | static_cast<uint32_t>(x * 40 + y * 7) << 8 |
                       0x400080u;
            });
        EXPECT_EQ(pixelsOf(*renderWhole(CIImage::imageWithCGImage(rgb))), pixelsOf(*rgb));
        for (const char* name : {"CIColorInvert", "CIToneCurve", "CIPixellate"}) {
            SCOPED_TRACE(name);
            const CGImageRef out = applyFilter(name, rgb);
            ASSERT_TRUE(out);
            for (uint32_t pixel : pixelsOf(*out)) {
                EXPECT_EQ(pixel >> 24, 255u);
            }
        }
    }
}

} // namespace
