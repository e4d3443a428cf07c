#include "platform/photos/ImageRequestGeometry.h"

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
    } cases[] = {
        {"fit",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFit,
         Resize::Fast,
         750,
         563,
         {0, 0, 4000, 3000}},
        {"fill keeps the photo's shape",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFill,
         Resize::Fast,
         1779,
         1334,
         {0, 0, 4000, 3000}},
        {"fill without resizing",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFill,
         Resize::None,
         1779,
         1334,
         {0, 0, 4000, 3000}},
        {"exact fill is cut to the target",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFill,
         Resize::Exact,
         750,
         1334,
         {1156.67, 0, 1686.66, 3000}},
        {"exact fit is the fit",
         stored(4000, 3000),
         {750, 1334},
         Mode::AspectFit,
         Resize::Exact,
         750,
         563,
         {0, 0, 4000, 3000}},
        // A portrait photo stored on its side: sizes are upright, the decode stored.
        {"turned photo, fit",
         stored(4000, 3000, 6),
         {750, 1334},
         Mode::AspectFit,
         Resize::Fast,
         750,
         1000,
         {0, 0, 4000, 3000}},
        {"turned photo, exact fill",
         stored(4000, 3000, 6),
         {750, 1334},
         Mode::AspectFill,
         Resize::Exact,
         750,
         1334,
         {0, 375.56, 4000, 2248.87}},
        {"mirrored and turned (5)",
         stored(400, 300, 5),
         {150, 200},
         Mode::AspectFit,
         Resize::Fast,
         150,
         200,
         {0, 0, 400, 300}},
        {"small photo, fit",
         stored(100, 50),
         {400, 400},
         Mode::AspectFit,
         Resize::Fast,
         100,
         50,
         {0, 0, 100, 50}},
        {"small photo, exact fill keeps the target's shape",
         stored(100, 50),
         {400, 200},
         Mode::AspectFill,
         Resize::Exact,
         100,
         50,
         {0, 0, 100, 50}},
        {"small photo, exact fill of a square",
         stored(100, 50),
         {400, 400},
         Mode::AspectFill,
         Resize::Exact,
         50,
         50,
         {25, 0, 50, 50}},
        {"maximum size",
         stored(4000, 3000, 8),
         PHImageManagerMaximumSize,
         Mode::AspectFill,
         Resize::Exact,
         3000,
         4000,
         {0, 0, 4000, 3000}},
        {"no size", stored(40, 30), {0, 0}, Mode::AspectFit, Resize::Fast, 40, 30, {0, 0, 40, 30}},
        {"a sliver stays a pixel",
         stored(4000, 10),
         {100, 100},
         Mode::AspectFit,
         Resize::Fast,
         100,
         1,
         {0, 0, 4000, 10}},
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
    }
}

} // namespace
