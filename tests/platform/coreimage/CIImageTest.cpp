#include "platform/coreimage/CIImage.h"

#include "platform/coreimage/CIImagePipeline.h"
#include "tests/platform/coreimage/FilterTesting.h"
#include "tests/support/CapturedLog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CGImageRef render(const CIImagePtr& image, const CGRect& rect) {
    return CIContext::contextWithOptions()->createCGImageFromRect(image, rect);
}

// Pixel (x, y) of a 6 x 4 picture, distinct everywhere.
uint32_t at(size_t x, size_t y) {
    return 0xff000000u | static_cast<uint32_t>(x * 40) << 16 | static_cast<uint32_t>(y * 60) << 8;
}

TEST(CIImageTest, CroppingKeepsThePixelsInsideAndLeavesTransparencyAround) {
    const CGImageRef bitmap = opaquePicture(6, 4, at);
    // The bitmap's own bytes, and the float samples of a glow that adds nothing.
    const struct {
        const char* what;
        CIImagePtr image;
    } cases[] = {
        {"bytes", CIImage::imageWithCGImage(bitmap)},
        {"samples",
         filtered("CIBloom", bitmap, {{"inputRadius", number(0)}, {"inputIntensity", number(0)}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.image);
        EXPECT_EQ(c.image->pipeline().bytes().has_value(), std::string(c.what) == "bytes");
        // Engine coordinates are y up: (1, 1, 3, 2) holds picture rows 1 and 2 from the top.
        const CIImagePtr cropped = c.image->imageByCroppingToRect(CGRectMake(1, 1, 3, 2));
        ASSERT_TRUE(cropped);
        EXPECT_EQ(cropped->extent(), CGRectMake(1, 1, 3, 2));
        const CGImageRef inside = render(cropped, cropped->extent());
        ASSERT_TRUE(inside);
        for (size_t y = 0; y < 2; ++y) {
            for (size_t x = 0; x < 3; ++x) {
                EXPECT_EQ(inside->pixelAt(x, y), at(x + 1, y + 1)) << x << "," << y;
            }
        }
        // Rendered over the whole picture: transparent where it was cut away.
        const CGImageRef whole = render(cropped, CGRectMake(0, 0, 6, 4));
        ASSERT_TRUE(whole);
        EXPECT_EQ(whole->pixelAt(0, 0), 0u);
        EXPECT_EQ(whole->pixelAt(5, 3), 0u);
        EXPECT_EQ(whole->pixelAt(1, 1), at(1, 1));

        // A rectangle reaching beyond the picture keeps the picture's part, widened to
        // whole pixels.
        EXPECT_EQ(c.image->imageByCroppingToRect(CGRectMake(-5, 2.5, 100, 100))->extent(),
                  CGRectMake(0, 2, 6, 2));
    }
}

TEST(CIImageTest, CroppingToNothingOfThePictureGivesNoImage) {
    const CIImagePtr image = CIImage::imageWithCGImage(opaquePicture(6, 4, at));
    CapturedLog log;
    EXPECT_FALSE(image->imageByCroppingToRect(CGRectMake(10, 10, 5, 5)));
    EXPECT_FALSE(image->imageByCroppingToRect(CGRectNull));
    EXPECT_FALSE(log.lines().empty());
}

} // namespace
