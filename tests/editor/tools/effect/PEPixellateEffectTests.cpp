#include "editor/tools/effect/PEPixellateEffect.h"

#include "platform/uikit/UIImage.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIView.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A 4-byte image whose rows are `stride` bytes apart, every byte of the padding 0xff (so
// that a reader taking rows as tight sees visible pixels there), the pixels B, G, R, A.
CGImageRef paddedImage(size_t width, size_t height, size_t stride, CGImagePixelFormat format,
                       const std::function<uint32_t(size_t, size_t)>& pixel) {
    std::vector<uint8_t> bytes(stride * height, 0xff);
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            const uint32_t p = pixel(x, y);
            for (int i = 0; i < 4; ++i) {
                bytes[y * stride + x * 4 + i] = static_cast<uint8_t>(p >> (8 * i));
            }
        }
    }
    return CGImage::create(width, height, format, stride, std::move(bytes));
}

TEST(PEPixellateEffectClippingTest, TheVisibleRectangleHoldsEveryVisiblePixelAndNoMore) {
    const auto inside = [](size_t x0, size_t y0, size_t x1, size_t y1) {
        return [=](size_t x, size_t y) {
            return x >= x0 && x <= x1 && y >= y0 && y <= y1 ? 0x80402010u : 0u;
        };
    };
    const struct {
        const char* what;
        CGImageRef image;
        CGRect expected;
    } cases[] = {
        {"nothing visible",
         paddedImage(5, 4, 20, CGImagePixelFormat::ARGB32Premultiplied, inside(9, 9, 0, 0)),
         CGRectZero},
        {"all visible",
         paddedImage(5, 4, 20, CGImagePixelFormat::ARGB32Premultiplied, inside(0, 0, 4, 3)),
         CGRectMake(0, 0, 5, 4)},
        {"the last column and row alone",
         paddedImage(5, 4, 20, CGImagePixelFormat::ARGB32Premultiplied, inside(4, 3, 4, 3)),
         CGRectMake(4, 3, 1, 1)},
        {"padded rows",
         paddedImage(5, 4, 28, CGImagePixelFormat::ARGB32Premultiplied, inside(1, 1, 3, 2)),
         CGRectMake(1, 1, 3, 2)},
        {"one pixel off centre in padded rows",
         paddedImage(7, 3, 36, CGImagePixelFormat::ARGB32Premultiplied, inside(5, 0, 5, 0)),
         CGRectMake(5, 0, 1, 1)},
        {"no alpha: all visible",
         paddedImage(5, 4, 24, CGImagePixelFormat::RGB24, inside(9, 9, 0, 0)),
         CGRectMake(0, 0, 5, 4)},
        {"grey: all visible",
         makeImage(3, 2, CGImagePixelFormat::Gray8, [](size_t, size_t) { return 0u; }),
         CGRectMake(0, 0, 3, 2)},
        {"no image", nullptr, CGRectZero},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CGRect rect = PEPixellateEffect::clippingRectForTransparentSpace(c.image);
        EXPECT_TRUE(CGRectEqualToRect(rect, c.expected)) << NSStringFromCGRect(rect);
    }
}

class PEPixellateEffectTest : public ::testing::Test {
protected:
    PEPixellateEffectTest() {
        effect = PEPixellateEffect::alloc();
        effect->initWithSuperViewImageViewFrameToolInfo(area, area->bounds(), nullptr);
    }
    std::shared_ptr<UIImage> apply(const CGImageRef& image, float amount) {
        effect->radiusSlider()->setValue(amount);
        return effect->applyEffect(
            UIImage::imageWithCGImageScaleOrientation(image, 1, UIImageOrientation::Up));
    }

    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    std::shared_ptr<UIView> area = UIView::initWithFrame(CGRectMake(0, 0, 320, 424));
    std::shared_ptr<PEPixellateEffect> effect;
};

TEST_F(PEPixellateEffectTest, TheResultCoversExactlyThePicture) {
    // Sizes whose block grid overhangs the picture on every side, and the slider's ends:
    // the blocks beyond the picture never show and no edge row or column is lost.
    for (const auto& [width, height] :
         {std::pair{7u, 5u}, std::pair{40u, 30u}, std::pair{33u, 21u}}) {
        for (float amount : {0.0f, 0.5f, 1.0f}) {
            SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " at " +
                         std::to_string(amount));
            const auto input = makeImage(
                width, height, CGImagePixelFormat::ARGB32Premultiplied, [](size_t x, size_t y) {
                    return 0xff000000u | uint32_t(x * 7) << 16 | uint32_t(y * 11) << 8;
                });
            const auto output = apply(input, amount);
            ASSERT_TRUE(output);
            ASSERT_EQ(output->cgImage()->width(), width);
            ASSERT_EQ(output->cgImage()->height(), height);
            for (uint32_t p : pixelsOf(*output->cgImage())) {
                ASSERT_EQ(p >> 24, 0xffu);
            }
            if (amount == 0) {
                // Blocks of one pixel: the picture itself.
                EXPECT_EQ(pixelsOf(*output->cgImage()), pixelsOf(*input));
            }
        }
    }
}

TEST_F(PEPixellateEffectTest, BlocksTakeTheirMeanAndTransparentMarginsAreCutAway) {
    // At the slider's end a block is a tenth of the shorter side: 4 pixels on a 40-pixel
    // picture, on a grid through its centre; over one-pixel stripes, each block is grey.
    const auto striped =
        makeImage(40, 40, CGImagePixelFormat::ARGB32Premultiplied,
                  [](size_t x, size_t) { return x % 2 ? 0xffffffffu : 0xff000000u; });
    const auto blocks = apply(striped, 1);
    ASSERT_TRUE(blocks);
    for (uint32_t p : pixelsOf(*blocks->cgImage())) {
        ASSERT_NEAR(static_cast<int>(p & 0xff), 128, 1);
    }

    // A picture with a transparent border keeps only what is visible.
    const auto framed =
        makeImage(10, 8, CGImagePixelFormat::ARGB32Premultiplied, [](size_t x, size_t y) {
            return x >= 3 && x < 7 && y >= 2 && y < 5 ? 0xff112233u : 0u;
        });
    const auto cut = apply(framed, 0);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->cgImage()->width(), 4u);
    EXPECT_EQ(cut->cgImage()->height(), 3u);
    EXPECT_EQ(cut->cgImage()->pixelAt(3, 2), 0xff112233u);
}

TEST_F(PEPixellateEffectTest, AnAllTransparentPictureComesBackAsItWas) {
    const auto clear = UIImage::imageWithCGImageScaleOrientation(
        makeImage(9, 6, CGImagePixelFormat::ARGB32Premultiplied, [](size_t, size_t) { return 0u; }),
        1, UIImageOrientation::Up);
    for (float amount : {0.0f, 1.0f}) {
        effect->radiusSlider()->setValue(amount);
        EXPECT_EQ(effect->applyEffect(clear), clear);
    }
}

} // namespace
