#include "editor/categories/UIImage+Utility.h"
#include "platform/graphics/ImageOrientation.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using Orientation = UIImageOrientation;
constexpr Orientation kOrientations[] = {
    Orientation::Up,           Orientation::Down,          Orientation::Left,
    Orientation::Right,        Orientation::UpMirrored,    Orientation::DownMirrored,
    Orientation::LeftMirrored, Orientation::RightMirrored,
};
constexpr uint32_t kRed = 0xffff0000u, kGreen = 0xff00ff00u, kBlue = 0xff0000ffu,
                   kWhite = 0xffffffffu;

std::string nameOf(Orientation o) {
    const char* names[] = {"Up",         "Down",         "Left",         "Right",
                           "UpMirrored", "DownMirrored", "LeftMirrored", "RightMirrored"};
    return names[static_cast<int>(o)];
}

CGImageRef argb(size_t width, size_t height, const std::function<uint32_t(size_t, size_t)>& pixel) {
    return makeImage(width, height, CGImagePixelFormat::ARGB32Premultiplied, pixel);
}

std::shared_ptr<UIImage> imageOf(const CGImageRef& stored, double scale = 1,
                                 Orientation orientation = Orientation::Up) {
    return UIImage::imageWithCGImageScaleOrientation(stored, scale, orientation);
}

// A picture in `orientation` that shows `shown`: its stored pixels are `shown` turned back.
std::shared_ptr<UIImage> showing(const CGImageRef& shown, Orientation orientation,
                                 double scale = 1) {
    Orientation back = orientation;
    if (orientation == Orientation::Left) {
        back = Orientation::Right;
    } else if (orientation == Orientation::Right) {
        back = Orientation::Left;
    }
    return imageOf(CGImageCreateOriented(shown, back), scale, orientation);
}

uint32_t at(const std::shared_ptr<UIImage>& image, size_t x, size_t y) {
    return image->cgImage()->pixelAt(x, y);
}

void expectBitmapResult(const std::shared_ptr<UIImage>& image, size_t width, size_t height) {
    ASSERT_TRUE(image);
    EXPECT_EQ(image->cgImage()->width(), width);
    EXPECT_EQ(image->cgImage()->height(), height);
    EXPECT_EQ(image->scale(), 1);
    EXPECT_EQ(image->imageOrientation(), Orientation::Up);
}

// 6 x 4 stored pixels, each one different, the top-left one red (the only red one).
CGImageRef markedFixture() {
    return argb(6, 4, [](size_t x, size_t y) {
        return x == 0 && y == 0 ? kRed : 0xff000000u | uint32_t(x * 40) << 8 | uint32_t(y * 60 + 1);
    });
}

TEST(UtilityResize, EveryOrientationShowsThePictureAsShown) {
    // Where the stored top-left corner is seen (6 x 4 stored; 4 x 6 shown when sideways).
    struct Case {
        Orientation orientation;
        size_t markX, markY;
    } const cases[] = {
        {Orientation::Up, 0, 0},    {Orientation::UpMirrored, 5, 0},
        {Orientation::Down, 5, 3},  {Orientation::DownMirrored, 0, 3},
        {Orientation::Left, 0, 5},  {Orientation::LeftMirrored, 0, 0},
        {Orientation::Right, 3, 0}, {Orientation::RightMirrored, 3, 5},
    };
    const CGImageRef stored = markedFixture();
    for (const auto& c : cases) {
        SCOPED_TRACE(nameOf(c.orientation));
        auto image = imageOf(stored, 2, c.orientation);
        auto resized = Utility::resize(
            image, CGSizeMake(image->size().width * 2, image->size().height * 2 + 0.9));
        const bool sideways = image->size().width < image->size().height;
        expectBitmapResult(resized, sideways ? 4 : 6, sideways ? 6 : 4);
        EXPECT_EQ(at(resized, c.markX, c.markY), kRed);
        EXPECT_EQ(pixelsOf(*resized->cgImage()),
                  pixelsOf(*CGImageCreateOriented(stored, c.orientation)));
    }
}

TEST(UtilityResize, ScalesEveryOrientationAsShown) {
    // Four flat quadrants, 40 x 20 as shown, halved: each quadrant's middle keeps its colour.
    const CGImageRef shown = argb(40, 20, [](size_t x, size_t y) {
        return y < 10 ? (x < 20 ? kRed : kGreen) : (x < 20 ? kBlue : kWhite);
    });
    for (Orientation o : kOrientations) {
        SCOPED_TRACE(nameOf(o));
        auto resized = Utility::resize(showing(shown, o), CGSizeMake(20, 10));
        expectBitmapResult(resized, 20, 10);
        EXPECT_EQ(at(resized, 5, 2), kRed);
        EXPECT_EQ(at(resized, 15, 2), kGreen);
        EXPECT_EQ(at(resized, 5, 7), kBlue);
        EXPECT_EQ(at(resized, 15, 7), kWhite);
    }
}

TEST(UtilityAspectFit, LargestSizeInsideTheBox) {
    struct Case {
        size_t width, height;
        Orientation orientation;
        CGSize box;
        size_t fitWidth, fitHeight;
    } const cases[] = {
        {40, 20, Orientation::Up, {10, 10}, 10, 5},
        {20, 40, Orientation::Up, {10, 10}, 5, 10},
        {40, 20, Orientation::Up, {100, 100}, 100, 50},
        // Sideways pictures fit by their shown size (20 x 40 stored, 40 x 20 shown).
        {20, 40, Orientation::Right, {10, 10}, 10, 5},
        {20, 40, Orientation::LeftMirrored, {30, 100}, 30, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << " x " << c.height << " " << nameOf(c.orientation));
        auto image = imageOf(argb(c.width, c.height, [](size_t, size_t) { return kGreen; }), 1,
                             c.orientation);
        expectBitmapResult(Utility::aspectFit(image, c.box), c.fitWidth, c.fitHeight);
    }
}

TEST(UtilityAspectFill, CropsTheOverflowEvenlyAndShiftsItByTheOffset) {
    // Pictures of 2-pixel stripes across the axis that overflows, filled into 10 x 10 at
    // half size: each output column (or row) shows one whole stripe. `first` is the stripe
    // the first column (or top row) shows; below 0 the picture does not reach.
    struct Case {
        size_t width, height;
        double offset;
        int first;
    } const cases[] = {
        {40, 20, 0, 5},  // the middle 20 of 40 pixels: stripes 5 to 14
        {40, 20, 2, 7},  // 2 more cut from the left
        {40, 20, -3, 2}, // 3 fewer
        {20, 40, 0, 5},  // the middle rows
        {20, 40, 2, 3},  // 2 more cut from the bottom, 2 fewer from the top
        {20, 20, 0, 0},  // the box's own aspect: all of it
        {20, 20, 2, -2}, // shifted down by the offset, transparent above
    };
    for (const auto& c : cases) {
        const bool wide = c.width > c.height;
        const CGImageRef shown = argb(c.width, c.height, [wide](size_t x, size_t y) {
            return 0xff000080u | uint32_t((wide ? x : y) / 2 * 10) << 16;
        });
        const int stripes = int((wide ? c.width : c.height) / 2);
        for (Orientation o : kOrientations) {
            SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " offset "
                                            << c.offset << " " << nameOf(o));
            auto filled =
                Utility::aspectFillOffset(showing(shown, o), CGSizeMake(10, 10), c.offset);
            expectBitmapResult(filled, 10, 10);
            for (size_t i = 0; i < 10; ++i) {
                const int stripe = c.first + int(i);
                const uint32_t expected =
                    stripe < 0 || stripe >= stripes ? 0 : 0xff000080u | uint32_t(stripe * 10) << 16;
                EXPECT_EQ(wide ? at(filled, i, 4) : at(filled, 4, i), expected) << "at " << i;
            }
        }
    }
    // Without an offset aspectFill is the same crop.
    const CGImageRef wide =
        argb(40, 20, [](size_t x, size_t) { return 0xff000000u | uint32_t(x); });
    EXPECT_EQ(
        pixelsOf(*Utility::aspectFill(imageOf(wide), CGSizeMake(10, 10))->cgImage()),
        pixelsOf(*Utility::aspectFillOffset(imageOf(wide), CGSizeMake(10, 10), 0)->cgImage()));
}

TEST(UtilityCrop, KeepsTheScaleAndLeavesWhatIsOutsideTransparent) {
    const CGImageRef stored = markedFixture();
    struct Case {
        double scale;
        CGRect rect; // in points
    } const cases[] = {
        {1, {{1, 1}, {3, 2}}},   // inside
        {1, {{-2, -1}, {4, 3}}}, // margins left and above
        {1, {{4, 2}, {5, 5}}},   // margins right and below
        {2, {{1, 0.5}, {3, 2}}}, // 6 x 4 pixels at 2x are 3 x 2 points
        {1, {{10, 10}, {2, 2}}}, // wholly outside
        {1, {{1e300, -1e300}, {2, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale << " rect at " << c.rect.origin.x
                                        << ", " << c.rect.origin.y);
        auto cropped = Utility::crop(imageOf(stored, c.scale), c.rect);
        ASSERT_TRUE(cropped);
        EXPECT_EQ(cropped->scale(), c.scale);
        const CGImage& pixels = *cropped->cgImage();
        ASSERT_EQ(pixels.width(), size_t(c.rect.size.width * c.scale));
        ASSERT_EQ(pixels.height(), size_t(c.rect.size.height * c.scale));
        for (size_t y = 0; y < pixels.height(); ++y) {
            for (size_t x = 0; x < pixels.width(); ++x) {
                const double sx = double(x) + c.rect.origin.x * c.scale;
                const double sy = double(y) + c.rect.origin.y * c.scale;
                const bool inside = sx >= 0 && sy >= 0 && sx < 6 && sy < 4;
                EXPECT_EQ(pixels.pixelAt(x, y),
                          inside ? stored->pixelAt(size_t(sx), size_t(sy)) : 0)
                    << "at " << x << ", " << y;
            }
        }
    }
}

TEST(UtilityMaskedImage, DarkShowsLightCutsAway) {
    // A half-transparent green picture keeps the share of itself the mask lets through.
    const CGImageRef picture = argb(4, 1, [](size_t, size_t) { return 0x80008000u; });
    struct Case {
        const char* name;
        CGImageRef mask;
    } const cases[] = {
        {"grey", makeImage(4, 1, CGImagePixelFormat::Gray8,
                           [](size_t x, size_t) {
                               return std::vector<uint32_t>{0, 255, 51, 0}[x];
                           })},
        {"colour",
         argb(4, 1,
              [](size_t x, size_t) {
                  return std::vector<uint32_t>{0xff000000u, kWhite, 0xff333333u, 0xff000000u}[x];
              })},
        // Half as wide: stretched over the picture, each half one sample.
        {"stretched grey",
         makeImage(2, 1, CGImagePixelFormat::Gray8, [](size_t x, size_t) { return x ? 0 : 255; })},
    };
    const std::vector<uint32_t> expected[] = {
        {0x80008000u, 0, 0x66006600u, 0x80008000u},
        {0x80008000u, 0, 0x66006600u, 0x80008000u},
        {0, 0, 0x80008000u, 0x80008000u},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        auto masked = Utility::maskedImage(imageOf(picture, 2), imageOf(cases[i].mask));
        expectBitmapResult(masked, 4, 1);
        EXPECT_EQ(pixelsOf(*masked->cgImage()), expected[i]);
    }
    // Both are taken as shown: a mask turned upright lines up with the turned picture.
    const CGImageRef marked = markedFixture();
    const CGImageRef blackCorner = makeImage(6, 4, CGImagePixelFormat::Gray8,
                                             [](size_t x, size_t y) { return x || y ? 255 : 0; });
    auto turned = Utility::maskedImage(imageOf(marked, 1, Orientation::Right),
                                       imageOf(blackCorner, 1, Orientation::Right));
    expectBitmapResult(turned, 4, 6);
    EXPECT_EQ(at(turned, 3, 0), kRed);
    EXPECT_EQ(at(turned, 0, 0), 0u);
}

TEST(UtilityGrayScale, GreyCopyKeepsAlphaAndTheShownPicture) {
    const std::vector<uint32_t> colours = {kRed,        kGreen,      kBlue, kWhite,
                                           0x80800000u, 0x80808080u, 0};
    // Grey of premultiplied colour: 77 R + 150 G + 29 B over 256, rounded; alpha as it was.
    const std::vector<uint32_t> greys = {
        0xff4d4d4du, 0xff959595u, 0xff1d1d1du, kWhite, 0x80272727u, 0x80808080u, 0};
    auto grey = Utility::grayScaleImage(
        imageOf(argb(colours.size(), 1, [&](size_t x, size_t) { return colours[x]; })));
    expectBitmapResult(grey, colours.size(), 1);
    EXPECT_EQ(pixelsOf(*grey->cgImage()), greys);

    // Drawn as shown, at its point size.
    auto turned = Utility::grayScaleImage(imageOf(markedFixture(), 1, Orientation::Left));
    expectBitmapResult(turned, 4, 6);
    EXPECT_EQ(at(turned, 0, 5), 0xff4d4d4du);
    auto halved =
        Utility::grayScaleImage(imageOf(argb(8, 6, [](size_t, size_t) { return kWhite; }), 2));
    expectBitmapResult(halved, 4, 3);
}

TEST(UtilityGaussBlur, KernelSideFollowsStrengthAndTheShorterSide) {
    struct Case {
        CGSize points;
        double level;
        uint32_t side;
    } const cases[] = {
        {{100, 80}, 1, 9},   // n = 8, made even, plus 1
        {{100, 70}, 1, 7},   // n = 7: odd already
        {{100, 80}, 0.5, 5}, // n = 4
        {{80, 100}, 0.3, 3}, // n = 2.4 truncates to 2
        {{100, 80}, 2, 9},   // above 1 counts as 1
        {{100, 80}, 0, 1},   // nothing to blur
        {{100, 80}, -1, 1},       {{100, 80}, NAN, 1},
        {{19, 400}, 1, 1}, // pictures under 20 points are never blurred
        {{1e12, 1e12}, 1, 65535},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utility::gaussBlurKernelSide(c.points, c.level), c.side)
            << c.points.width << " x " << c.points.height << " at level " << c.level;
    }
}

TEST(UtilityGaussBlur, SpreadsALineOverTheKernelAndKeepsAlpha) {
    // A white column on a transparent picture: the blur reaches exactly half the kernel's
    // side either way, alpha with the colour, and leaves the rest transparent. The kernel
    // is chosen by points and applied to pixels.
    struct Case {
        size_t width, height;
        double scale, level;
        uint32_t side;
    } const cases[] = {
        {81, 30, 1, 1, 3}, {81, 50, 1, 1, 5},  {81, 70, 1, 1, 7},
        {81, 90, 1, 1, 9}, {81, 100, 2, 1, 5}, // 40.5 x 50 points
        {81, 90, 1, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.scale
                                        << "x, level " << c.level);
        const CGImageRef line =
            argb(c.width, c.height, [](size_t x, size_t) { return x == 40 ? kWhite : 0; });
        auto blurred = Utility::gaussBlur(imageOf(line, c.scale), c.level);
        expectBitmapResult(blurred, c.width, c.height);
        const long reach = c.side / 2;
        for (size_t x = 0; x < c.width; ++x) {
            const uint32_t pixel = at(blurred, x, c.height / 2);
            const uint32_t alpha = pixel >> 24;
            EXPECT_EQ(pixel, alpha * 0x01010101u) << "premultiplied white at " << x;
            EXPECT_EQ(alpha > 0, std::labs(long(x) - 40) <= reach) << "at " << x;
            EXPECT_EQ(pixel, at(blurred, 80 - x, c.height / 2)) << "symmetric at " << x;
        }
        // Every row alike: the vertical pass leaves a column of equal pixels as it was.
        EXPECT_EQ(at(blurred, 40, 0), at(blurred, 40, c.height - 1));
    }
}

TEST(UtilityGaussBlur, TransparentCornersStayTransparentAndFlatColourStaysExact) {
    // An opaque disc-like picture with transparent corners, and flat half-transparent red.
    const CGImageRef rounded = argb(60, 60, [](size_t x, size_t y) {
        return (x < 15 || x >= 45) && (y < 15 || y >= 45) ? 0 : 0xff208040u;
    });
    auto blurred = Utility::gaussBlur(imageOf(rounded), 1);
    expectBitmapResult(blurred, 60, 60);
    EXPECT_EQ(at(blurred, 0, 0), 0u);
    EXPECT_EQ(at(blurred, 59, 59), 0u);
    EXPECT_EQ(at(blurred, 30, 30), 0xff208040u);
    EXPECT_LT(at(blurred, 14, 14) >> 24, 0xffu);
    EXPECT_GT(at(blurred, 14, 14) >> 24, 0u);

    const CGImageRef flat = argb(50, 30, [](size_t, size_t) { return 0x80800000u; });
    auto still = Utility::gaussBlur(imageOf(flat), 1);
    EXPECT_EQ(pixelsOf(*still->cgImage()), pixelsOf(*flat));

    // Blurred as shown.
    auto turned = Utility::gaussBlur(imageOf(markedFixture(), 1, Orientation::Right), 1);
    expectBitmapResult(turned, 4, 6);
    EXPECT_EQ(at(turned, 3, 0), kRed);
}

TEST(UtilityDecode, RedrawsUprightAtTheSameSizeAndScale) {
    const CGImageRef stored = markedFixture();
    EXPECT_FALSE(Utility::decode(nullptr));
    for (Orientation o : kOrientations) {
        SCOPED_TRACE(nameOf(o));
        auto image = imageOf(stored, 2, o);
        for (auto copy : {Utility::decode(image), Utility::deepCopy(image)}) {
            ASSERT_TRUE(copy);
            EXPECT_NE(copy, image);
            EXPECT_EQ(copy->scale(), 2);
            EXPECT_EQ(copy->imageOrientation(), Orientation::Up);
            EXPECT_EQ(copy->size().width, image->size().width);
            EXPECT_EQ(copy->size().height, image->size().height);
            EXPECT_EQ(pixelsOf(*copy->cgImage()), pixelsOf(*CGImageCreateOriented(stored, o)));
        }
    }
}

TEST(UtilityDecode, FastImagesFromDataAndFiles) {
    const auto png = UIImagePNGRepresentation(imageOf(markedFixture()));
    ASSERT_TRUE(png);
    auto fromData = Utility::fastImageWithData(*png);
    ASSERT_TRUE(fromData);
    EXPECT_EQ(pixelsOf(*fromData->cgImage()), pixelsOf(*markedFixture()));

    TempFolder folder;
    const std::string path = folder.write("mark@2x.png", std::string(png->begin(), png->end()));
    auto fromFile = Utility::fastImageWithContentsOfFile(path);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(fromFile->scale(), 2);
    EXPECT_EQ(pixelsOf(*fromFile->cgImage()), pixelsOf(*markedFixture()));

    CapturedLog log;
    EXPECT_FALSE(Utility::fastImageWithData({'n', 'o', 't'}));
    EXPECT_FALSE(Utility::fastImageWithContentsOfFile(folder.file("missing.png")));
    EXPECT_EQ(log.lines().size(), 2u);
}

TEST(UtilityBadInput, GivesNullAndSaysWhy) {
    auto image = imageOf(markedFixture());
    const std::shared_ptr<UIImage> none;
    EXPECT_FALSE(Utility::deepCopy(none));
    EXPECT_FALSE(Utility::grayScaleImage(none));
    EXPECT_FALSE(Utility::resize(none, CGSizeMake(4, 4)));
    EXPECT_FALSE(Utility::aspectFit(none, CGSizeMake(4, 4)));
    EXPECT_FALSE(Utility::aspectFill(none, CGSizeMake(4, 4)));
    EXPECT_FALSE(Utility::crop(none, CGRectMake(0, 0, 2, 2)));
    EXPECT_FALSE(Utility::maskedImage(none, image));
    EXPECT_FALSE(Utility::maskedImage(image, none));
    EXPECT_FALSE(Utility::gaussBlur(none, 0.5));

    const double huge = 1e12;
    const CGSize sizes[] = {{0, 4},       {4, -3},        {NAN, 4},      {INFINITY, INFINITY},
                            {huge, huge}, {40000, 40000}, {30000, 30000}};
    for (const CGSize& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        CapturedLog log;
        EXPECT_FALSE(Utility::resize(image, size));
        EXPECT_FALSE(Utility::aspectFit(image, size));
        EXPECT_FALSE(Utility::aspectFill(image, size));
        EXPECT_FALSE(Utility::crop(image, CGRect{{0, 0}, size}));
        EXPECT_GE(log.lines().size(), 4u);
    }
    CapturedLog log;
    // Bitmap sides are truncated: half a pixel is none.
    EXPECT_FALSE(Utility::resize(image, CGSizeMake(0.5, 4)));
    EXPECT_FALSE(Utility::aspectFillOffset(image, CGSizeMake(4, 4), NAN));
    EXPECT_FALSE(Utility::aspectFillOffset(image, CGSizeMake(4, 4), 1e300));
    EXPECT_FALSE(Utility::crop(image, CGRectMake(NAN, 0, 2, 2)));
    EXPECT_FALSE(Utility::crop(image, CGRectMake(0, -INFINITY, 2, 2)));
    EXPECT_EQ(log.lines().size(), 5u);
}

} // namespace
