#include "platform/uikit/CIImage+UIKitAdditions.h"

#include "platform/coreimage/CIContext.h"
#include "platform/coreimage/CIImage.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kMark = 0xffff0000u;

// 6 x 4 stored pixels, each one different, only the top-left one red.
CGImageRef markedPixels() {
    return makeImage(6, 4, CGImagePixelFormat::ARGB32Premultiplied, [](size_t x, size_t y) {
        return x == 0 && y == 0 ? kMark
                                : 0xff000000u | uint32_t(x * 40) << 8 | uint32_t(y * 60 + 1);
    });
}

TEST(CIImageUIKitAdditions, TheEngineSeesThePictureAsShownOnePixelAUnit) {
    // Where the stored top-left pixel is seen, and the shown size in pixels.
    struct Case {
        UIImageOrientation orientation;
        size_t markX, markY, width, height;
    } const cases[] = {
        {UIImageOrientation::Up, 0, 0, 6, 4},    {UIImageOrientation::UpMirrored, 5, 0, 6, 4},
        {UIImageOrientation::Down, 5, 3, 6, 4},  {UIImageOrientation::DownMirrored, 0, 3, 6, 4},
        {UIImageOrientation::Left, 0, 5, 4, 6},  {UIImageOrientation::LeftMirrored, 0, 0, 4, 6},
        {UIImageOrientation::Right, 3, 0, 4, 6}, {UIImageOrientation::RightMirrored, 3, 5, 4, 6},
    };
    const auto context = CIContext::contextWithOptions();
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.orientation));
        // At scale 2 the picture is half as many points: the engine still counts pixels.
        const auto picture =
            UIImage::imageWithCGImageScaleOrientation(markedPixels(), 2, c.orientation);
        const auto image = UIKitAdditions::initWithImage(picture);
        ASSERT_TRUE(image);
        EXPECT_TRUE(CGRectEqualToRect(image->extent(), CGRectMake(0, 0, c.width, c.height)));
        EXPECT_EQ(picture->size().width * picture->scale(), c.width);

        const CGImageRef rendered = context->createCGImageFromRect(image, image->extent());
        ASSERT_TRUE(rendered);
        size_t marks = 0;
        for (size_t y = 0; y < c.height; ++y) {
            for (size_t x = 0; x < c.width; ++x) {
                marks += rendered->pixelAt(x, y) == kMark;
            }
        }
        EXPECT_EQ(marks, 1u);
        EXPECT_EQ(rendered->pixelAt(c.markX, c.markY), kMark);
    }
    EXPECT_EQ(UIKitAdditions::initWithImage(nullptr), nullptr);
}

} // namespace
