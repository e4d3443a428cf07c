#include "platform/photos/ImageRequestGeometry.h"

#include "platform/graphics/JPEGCodec.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

namespace {

using Mode = PHImageContentMode;
using Resize = PHImageRequestOptionsResizeMode;

PhotoFileHeader stored(size_t width, size_t height, int exifOrientation = 1) {
    PhotoFileHeader header;
    header.imageType = ImageFileType::JPEG;
    header.width = width;
    header.height = height;
    header.exifOrientation = exifOrientation;
    return header;
}

TEST(ImageRequestGeometryTest, SizesFollowTheContentModeAndNeverExceedThePhoto) {
    const struct {
        const char* name;
        PhotoFileHeader header;
        CGSize target;
        Mode mode;
        Resize resize;
        size_t width, height;
        CGRect source;
        size_t decodeWidth, decodeHeight;
    } cases[] = {
        {"fit",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFit,
         Resize::Fast,
         750,
         563,
         {0, 0, 4000, 3000},
         750,
         563},
        {"fill keeps the photo's shape",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFill,
         Resize::Fast,
         1779,
         1334,
         {0, 0, 4000, 3000},
         1779,
         1334},
        {"fill without resizing",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFill,
         Resize::None,
         1779,
         1334,
         {0, 0, 4000, 3000},
         1779,
         1334},
        {"exact fill is cut to the target",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFill,
         Resize::Exact,
         750,
         1334,
         {1156.67, 0, 1686.66, 3000},
         1779,
         1334},
        {"exact fit is the fit",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFit,
         Resize::Exact,
         750,
         563,
         {0, 0, 4000, 3000},
         750,
         563},
        // A portrait photo stored on its side: sizes are upright, the decode stored.
        {"turned photo, fit",
         stored(4000, 3000, 6),
         {750, 1334},
         Mode::AspectFit,
         Resize::Fast,
         750,
         1000,
         {0, 0, 4000, 3000},
         1000,
         750},
        {"turned photo, exact fill",
         stored(4000, 3000, 6),
         {750, 1334},
         Mode::AspectFill,
         Resize::Exact,
         750,
         1334,
         {0, 375.56, 4000, 2248.87},
         1334,
         1001},
        {"mirrored and turned (5)",
         stored(400, 300, 5),
         {150, 200},
         Mode::AspectFit,
         Resize::Fast,
         150,
         200,
         {0, 0, 400, 300},
         200,
         150},
        {"small photo, fit",
         stored(100, 50),
         {400, 400},
         Mode::AspectFit,
         Resize::Fast,
         100,
         50,
         {0, 0, 100, 50},
         100,
         50},
        {"small photo, exact fill keeps the target's shape",
         stored(100, 50),
         {400, 200},
         Mode::AspectFill,
         Resize::Exact,
         100,
         50,
         {0, 0, 100, 50},
         100,
         50},
        {"small photo, exact fill of a square",
         stored(100, 50),
         {400, 400},
         Mode::AspectFill,
         Resize::Exact,
         50,
         50,
         {25, 0, 50, 50},
         100,
         50},
        {"maximum size",
         stored(4000, 3000, 8),
         PHImageManagerMaximumSize,
         Mode::AspectFill,
         Resize::Exact,
         3000,
         4000,
         {0, 0, 4000, 3000},
         4000,
         3000},
        {"no size",
         stored(40, 30),
         {0, 0},
         Mode::AspectFit,
         Resize::Fast,
         40,
         30,
         {0, 0, 40, 30},
         40,
         30},
        {"a sliver stays a pixel",
         stored(4000, 10),
         {100, 100},
         Mode::AspectFit,
         Resize::Fast,
         100,
         1,
         {0, 0, 4000, 10},
         100,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto geometry = ImageRequestGeometry::compute(c.header, c.target, c.mode, c.resize);
        EXPECT_EQ(geometry.width, c.width);
        EXPECT_EQ(geometry.height, c.height);
        EXPECT_NEAR(geometry.storedSource.origin.x, c.source.origin.x, 0.01);
        EXPECT_NEAR(geometry.storedSource.origin.y, c.source.origin.y, 0.01);
        EXPECT_NEAR(geometry.storedSource.size.width, c.source.size.width, 0.01);
        EXPECT_NEAR(geometry.storedSource.size.height, c.source.size.height, 0.01);
        EXPECT_EQ(geometry.minimumDecodeWidth, c.decodeWidth);
        EXPECT_EQ(geometry.minimumDecodeHeight, c.decodeHeight);
    }
}

// The decode a request asks for, as the codec carries it out: a photo shown at a quarter
// of its size decodes at a quarter, whichever way it is stored.
TEST(ImageRequestGeometryTest, ThePhotoDecodesAtTheScaleTheResultNeeds) {
    const auto jpeg = photoJpeg(1600, 1200);
    const struct {
        const char* name;
        int orientation;
        CGSize target;
        size_t decodedWidth, decodedHeight;
    } cases[] = {
        {"upright", 1, {300, 400}, 400, 300},
        {"stored on its side", 6, {300, 400}, 400, 300},
        {"an eighth", 1, {200, 200}, 200, 150},
        {"more than half", 1, {900, 900}, 1000, 750},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto geometry = ImageRequestGeometry::compute(
            stored(1600, 1200, c.orientation), c.target, Mode::AspectFit, Resize::Fast);
        const auto decoded =
            JPEGCodec::decodeScaled(jpeg.data(), jpeg.size(), geometry.minimumDecodeWidth,
                                    geometry.minimumDecodeHeight)
                .value();
        EXPECT_EQ(decoded->width(), c.decodedWidth);
        EXPECT_EQ(decoded->height(), c.decodedHeight);
    }
}

} // namespace
