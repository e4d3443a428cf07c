#include "app/categories/UIImage+DMImage.h"
#include "platform/graphics/CGAffineTransform.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/NaiveBoxBlur.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

namespace {
std::shared_ptr<UIImage>
imageOf(const TestPixels& pixels, double scale,
        UIImageOrientation orientation = UIImageOrientation::Up,
        CGImagePixelFormat format = CGImagePixelFormat::ARGB32Premultiplied) {
    return UIImage::imageWithCGImageScaleOrientation(
        CGImage::create(pixels.width, pixels.height, format, pixels.rowBytes, pixels.bytes), scale,
        orientation);
}

// The image's pixels in rows of width * 4 bytes.
TestPixels pixelsOf(const std::shared_ptr<UIImage>& image) {
    const CGImage& cg = *image->cgImage();
    TestPixels out{cg.width(), cg.height(), cg.width() * 4,
                   std::vector<uint8_t>(cg.width() * cg.height() * 4)};
    for (size_t y = 0; y < cg.height(); ++y) {
        std::memcpy(out.data() + y * out.rowBytes, cg.data() + y * cg.bytesPerRow(), out.rowBytes);
    }
    return out;
}

TEST(DMImageBlur, BoxSideComesFromRadiusAndScale) {
    struct Case {
        double radius, scale;
        uint32_t side;
    } const cases[] = {
        {5, 2, 11},  // 10 is even: one more
        {2, 2, 5},   //
        {2.7, 1, 3}, // 2.7 truncates to 2
        {1.5, 3, 5}, // 4.5 truncates to 4
        {0.4, 2, 1}, // below one pixel: the pixels are copied
        {-3, 2, 1},  // a negative radius blurs nothing
        {3, 1, 3},   // odd already
    };
    TestPixels source = noisyPixels(19, 14, 11, 19 * 4 + 8);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "radius " << c.radius << " at " << c.scale << "x");
        auto blurred = DMImage::blurredImageWithRadiusIterationsTintColor(imageOf(source, c.scale),
                                                                          c.radius, 1, nullptr);
        ASSERT_TRUE(blurred);
        EXPECT_EQ(pixelsOf(blurred).bytes,
                  naiveBoxMean(source, 0, 0, 19, 14, c.side, c.side).bytes);
    }
}

TEST(DMImageBlur, IterationsRepeatTheBoxAndZeroCopies) {
    TestPixels source = noisyPixels(16, 9, 5);
    auto image = imageOf(source, 2, UIImageOrientation::Right);

    auto copy = DMImage::blurredImageWithRadiusIterationsTintColor(image, 5, 0, nullptr);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, image);
    EXPECT_EQ(pixelsOf(copy).bytes, source.bytes);
    EXPECT_EQ(copy->scale(), 2);
    EXPECT_EQ(copy->imageOrientation(), UIImageOrientation::Right);

    auto twice = DMImage::blurredImageWithRadiusIterationsTintColor(image, 2, 2, nullptr);
    TestPixels once = naiveBoxMean(source, 0, 0, 16, 9, 5, 5);
    EXPECT_EQ(pixelsOf(twice).bytes, naiveBoxMean(once, 0, 0, 16, 9, 5, 5).bytes);
}

TEST(DMImageBlur, TintIsAddedAtAQuarterAlpha) {
    // Opaque dark blue: 0xff000064 in every pixel.
    TestPixels blue{4, 4, 16, std::vector<uint8_t>(64)};
    for (size_t i = 0; i < blue.bytes.size(); i += 4) {
        std::memcpy(&blue.bytes[i], "\x64\x00\x00\xff", 4);
    }
    auto image = imageOf(blue, 1);
    auto at = [](const std::shared_ptr<UIImage>& i) { return i->cgImage()->pixelAt(2, 1); };

    auto red = DMImage::blurredImageWithRadiusIterationsTintColor(image, 1, 1, UIColor::redColor());
    EXPECT_EQ(at(red), 0xff400064u);
    // Only the tint's colour counts, not its own alpha.
    auto faintRed = DMImage::blurredImageWithRadiusIterationsTintColor(
        image, 1, 1, UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 0.1));
    EXPECT_EQ(at(faintRed), 0xff400064u);
    auto clear =
        DMImage::blurredImageWithRadiusIterationsTintColor(image, 1, 1, UIColor::clearColor());
    EXPECT_EQ(at(clear), 0xff000064u);
}

TEST(DMImageBlur, OpaqueImagesStayOpaque) {
    TestPixels source = noisyPixels(10, 6, 9);
    auto blurred = DMImage::blurredImageWithRadiusIterationsTintColor(
        imageOf(source, 1, UIImageOrientation::Up, CGImagePixelFormat::RGB24), 3, 1, nullptr);
    ASSERT_TRUE(blurred);
    EXPECT_EQ(blurred->cgImage()->format(), CGImagePixelFormat::RGB24);
    TestPixels expected = naiveBoxMean(source, 0, 0, 10, 6, 3, 3);
    uint32_t want;
    std::memcpy(&want, expected.row(3) + 4 * 4, 4);
    EXPECT_EQ(blurred->cgImage()->pixelAt(4, 3), want | 0xff000000u);
}

TEST(DMImageBlur, EdgeCases) {
    // Half a point square: no whole point, the image itself comes back.
    auto tiny = imageOf(noisyPixels(1, 1, 1), 2);
    EXPECT_EQ(DMImage::blurredImageWithRadiusIterationsTintColor(tiny, 5, 1, nullptr), tiny);

    CapturedLog log;
    EXPECT_EQ(DMImage::blurredImageWithRadiusIterationsTintColor(nullptr, 5, 1, nullptr), nullptr);
    auto image = imageOf(noisyPixels(8, 8, 2), 2);
    EXPECT_EQ(DMImage::blurredImageWithRadiusIterationsTintColor(image, 1e12, 1, nullptr), nullptr);
    ASSERT_EQ(log.lines().size(), 2u);
    EXPECT_NE(log.lines()[1].find("4294967295-pixel box"), std::string::npos) << log.lines()[1];
}

class DMImageSnapshot : public ::testing::Test {
protected:
    // A 40 x 20 red view with a blue 10-point square in its top left corner.
    void SetUp() override {
        view->setBackgroundColor(UIColor::redColor());
        auto corner = UIView::initWithFrame(CGRectMake(0, 0, 10, 10));
        corner->setBackgroundColor(UIColor::blueColor());
        view->addSubview(corner);
    }
    static uint32_t at(const std::shared_ptr<UIImage>& image, size_t x, size_t y) {
        return image->cgImage()->pixelAt(x, y);
    }

    TaskEnvironment environment;
    std::shared_ptr<UIView> view = UIView::initWithFrame(CGRectMake(100, 100, 40, 20));
};

constexpr uint32_t kRed = 0xffff0000, kBlue = 0xff0000ff, kClear = 0;

TEST_F(DMImageSnapshot, CentresTheViewWhateverItsPosition) {
    auto same = DMImage::imageFromViewWithSize(view, CGSizeMake(40, 20));
    ASSERT_TRUE(same);
    EXPECT_EQ(same->scale(), 1);
    EXPECT_EQ(same->size(), CGSizeMake(40, 20));
    EXPECT_EQ(at(same, 5, 5), kBlue);
    EXPECT_EQ(at(same, 15, 5), kRed);
    EXPECT_EQ(at(same, 39, 19), kRed);

    // A larger image leaves a transparent margin of 10 points all round.
    auto framed = DMImage::imageFromViewWithSize(view, CGSizeMake(60, 40));
    EXPECT_EQ(at(framed, 5, 5), kClear);
    EXPECT_EQ(at(framed, 15, 15), kBlue);
    EXPECT_EQ(at(framed, 45, 25), kRed);
    EXPECT_EQ(at(framed, 55, 35), kClear);
}

TEST_F(DMImageSnapshot, ShowsTheViewUnderItsTransform) {
    // A quarter turn clockwise: the top left corner goes to the top right.
    view->setTransform(CGAffineTransformMakeRotation(std::numbers::pi / 2));
    auto turned = DMImage::imageFromViewWithSize(view, CGSizeMake(20, 40));
    EXPECT_EQ(at(turned, 15, 5), kBlue);
    EXPECT_EQ(at(turned, 5, 5), kRed);
    EXPECT_EQ(at(turned, 5, 35), kRed);

    view->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    auto small = DMImage::imageFromViewWithSize(view, CGSizeMake(40, 20));
    EXPECT_EQ(at(small, 12, 7), kBlue);
    EXPECT_EQ(at(small, 18, 12), kRed);
    EXPECT_EQ(at(small, 5, 2), kClear);
}

TEST_F(DMImageSnapshot, NoViewOrNoSize) {
    auto empty = DMImage::imageFromViewWithSize(nullptr, CGSizeMake(4, 3));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size(), CGSizeMake(4, 3));
    EXPECT_EQ(at(empty, 2, 1), kClear);
    CapturedLog log;
    EXPECT_EQ(DMImage::imageFromViewWithSize(view, CGSizeMake(0, 10)), nullptr);
}
} // namespace
