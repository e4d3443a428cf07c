#include "platform/uikit/UIImage.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLog.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

namespace {

CGImageRef solid(size_t width, size_t height, uint32_t colour = 0xff336699) {
    return makeImage(width, height, CGImagePixelFormat::ARGB32Premultiplied,
                     [&](size_t, size_t) { return colour; });
}

std::string text(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// Catches the log lines of one test.
class LogLines {
public:
    LogLines() {
        NSLogSetSink([this](const std::string& line) { lines_.push_back(line); });
    }
    ~LogLines() { NSLogSetSink(nullptr); }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

TEST(UIImage, SizeIsInPointsWithQuarterTurnsSwapped) {
    const struct {
        UIImageOrientation orientation;
        CGSize expected;
    } cases[] = {
        {UIImageOrientation::Up, {15, 10}},           {UIImageOrientation::Down, {15, 10}},
        {UIImageOrientation::UpMirrored, {15, 10}},   {UIImageOrientation::DownMirrored, {15, 10}},
        {UIImageOrientation::Left, {10, 15}},         {UIImageOrientation::Right, {10, 15}},
        {UIImageOrientation::LeftMirrored, {10, 15}}, {UIImageOrientation::RightMirrored, {10, 15}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.orientation));
        const auto image =
            UIImage::imageWithCGImageScaleOrientation(solid(30, 20), 2, c.orientation);
        EXPECT_EQ(image->size(), c.expected);
        EXPECT_EQ(image->scale(), 2);
        EXPECT_EQ(image->imageOrientation(), c.orientation);
    }
    EXPECT_EQ(UIImage::imageWithCGImage(solid(30, 20))->size(), CGSizeMake(30, 20));
    EXPECT_EQ(UIImage::imageWithCGImage(nullptr), nullptr);
}

TEST(UIImage, DataKeepsTheEXIFOrientationOfAJPEG) {
    const auto jpeg = JPEGCodec::encode(solid(16, 8), 0.8).value();
    const auto turned = UIImage::imageWithDataScale(withExif(jpeg, exifBlock(false, 6, "", "")), 2);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->imageOrientation(), UIImageOrientation::Right);
    EXPECT_EQ(turned->size(), CGSizeMake(4, 8));
    EXPECT_EQ(turned->cgImage()->width(), 16u);

    const auto png = UIImage::imageWithData(PNGCodec::encode(solid(16, 8)).value());
    ASSERT_TRUE(png);
    EXPECT_EQ(png->imageOrientation(), UIImageOrientation::Up);
    EXPECT_EQ(png->size(), CGSizeMake(16, 8));
}

TEST(UIImage, RepresentationsAreUpright) {
    // Stored as  a b c  and shown turned clockwise:  d a
    //            d e f                               e b
    //                                                f c
    const uint32_t stored[2][3] = {{0xff0000a0, 0xff0000b0, 0xff0000c0},
                                   {0xff0000d0, 0xff0000e0, 0xff0000f0}};
    const auto cells = makeImage(3, 2, CGImagePixelFormat::ARGB32Premultiplied,
                                 [&](size_t x, size_t y) { return stored[y][x]; });
    const auto png = UIImagePNGRepresentation(
        UIImage::imageWithCGImageScaleOrientation(cells, 1, UIImageOrientation::Right));
    ASSERT_TRUE(png);
    const auto fromPNG = PNGCodec::decode(png->data(), png->size()).value();
    EXPECT_EQ(pixelsOf(*fromPNG), (std::vector<uint32_t>{0xff0000d0, 0xff0000a0, 0xff0000e0,
                                                         0xff0000b0, 0xff0000f0, 0xff0000c0}));

    // Red left, blue right, shown turned anticlockwise: blue on top.
    const auto halves = makeImage(32, 16, CGImagePixelFormat::RGB24, [](size_t x, size_t) {
        return x < 16 ? 0xffff0000u : 0xff0000ffu;
    });
    const auto jpeg = UIImageJPEGRepresentation(
        UIImage::imageWithCGImageScaleOrientation(halves, 1, UIImageOrientation::Left), 0.9);
    ASSERT_TRUE(jpeg);
    const auto fromJPEG = JPEGCodec::decode(jpeg->data(), jpeg->size()).value();
    EXPECT_EQ(fromJPEG->width(), 16u);
    EXPECT_EQ(fromJPEG->height(), 32u);
    auto red = [&](size_t x, size_t y) { return fromJPEG->pixelAt(x, y) >> 16 & 0xff; };
    auto blue = [&](size_t x, size_t y) { return fromJPEG->pixelAt(x, y) & 0xff; };
    EXPECT_GT(blue(8, 4), 240u);
    EXPECT_LT(red(8, 4), 16u);
    EXPECT_GT(red(8, 28), 240u);
    EXPECT_LT(blue(8, 28), 16u);

    EXPECT_FALSE(UIImagePNGRepresentation(nullptr));
    EXPECT_FALSE(UIImageJPEGRepresentation(nullptr, 0.5));
}

TEST(UIImage, FilesTakeTheirScaleFromTheirNames) {
    TempFolder folder;
    const auto png = text(PNGCodec::encode(solid(6, 6)).value());
    const struct {
        const char* name;
        double scale;
    } cases[] = {{"plain.png", 1},    {"icon@2x.png", 2}, {"icon@3x.png", 3},
                 {"photo@2x.jpg", 2}, {"@2x.png", 1},     {"icon@2x.big.png", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The name says nothing of the content: a PNG in a ".jpg" file is still read.
        const auto image = UIImage::imageWithContentsOfFile(folder.write(c.name, png));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->scale(), c.scale);
        EXPECT_EQ(image->size().width, 6 / c.scale);
    }
}

TEST(UIImage, FailuresGiveNullAndOneLogLineWithTheReason) {
    TempFolder folder;
    const struct {
        const char* name;
        std::function<std::shared_ptr<UIImage>()> load;
        std::vector<std::string> mentions;
    } cases[] = {
        {"missing file",
         [&] { return UIImage::imageWithContentsOfFile(folder.file("gone.png")); },
         {folder.file("gone.png")}},
        {"text in a .jpg file",
         [&] { return UIImage::imageWithContentsOfFile(folder.write("fake.jpg", "hello")); },
         {folder.file("fake.jpg"), "not a PNG or JPEG file"}},
        {"truncated JPEG",
         [&] {
             auto jpeg = text(JPEGCodec::encode(solid(16, 16), 0.9).value());
             return UIImage::imageWithContentsOfFile(folder.write("cut.jpg", jpeg.substr(0, 200)));
         },
         {folder.file("cut.jpg"), "Premature end of JPEG file"}},
        {"random data",
         [] {
             return UIImage::imageWithData({0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 1, 2});
         },
         {"10 bytes"}},
        {"no data", [] { return UIImage::imageWithData({}); }, {"0 bytes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogLines log;
        EXPECT_EQ(c.load(), nullptr);
        ASSERT_EQ(log.lines().size(), 1u);
        for (const auto& mention : c.mentions) {
            EXPECT_NE(log.lines()[0].find(mention), std::string::npos) << log.lines()[0];
        }
    }
}

class UIImageNamed : public testing::Test {
protected:
    void SetUp() override {
        // Each file's width tells which one was loaded.
        auto png = [](size_t width) { return text(PNGCodec::encode(solid(width, 1)).value()); };
        for (const auto& [name, width] :
             std::vector<std::pair<std::string, size_t>>{{"icon.png", 10},
                                                         {"icon@2x.png", 20},
                                                         {"icon@3x.png", 30},
                                                         {"retina.png", 11},
                                                         {"retina@2x.png", 22},
                                                         {"plain.png", 12},
                                                         {"both.png", 13},
                                                         {"art/star.png", 14}}) {
            bundle_.write(name, png(width));
        }
        bundle_.write("photo.jpg", text(JPEGCodec::encode(solid(40, 8), 0.8).value()));
        bundle_.write("both.jpg", text(JPEGCodec::encode(solid(41, 8), 0.8).value()));
        bundle_.write("broken.png", "not an image");
        NSBundle::setMainBundlePath(bundle_.path());
    }
    void TearDown() override {
        NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR);
        UIScreen::configureMainScreen({375, 667}, 2);
    }

    TempFolder bundle_;
};

TEST_F(UIImageNamed, PrefersTheScreensScaleThenTwiceThenPlain) {
    const struct {
        double screenScale;
        const char* name;
        size_t width; // of the file loaded
        double scale;
    } cases[] = {
        {2, "icon", 20, 2},      {3, "icon", 30, 3},  {1, "icon", 10, 1},     {3, "retina", 22, 2},
        {1, "retina", 11, 1},    {3, "plain", 12, 1}, {2, "icon.png", 20, 2}, {2, "photo", 40, 1},
        {2, "photo.jpg", 40, 1}, {2, "both", 13, 1},  {2, "art/star", 14, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " at " << c.screenScale << "x");
        UIScreen::configureMainScreen({375, 667}, c.screenScale);
        const auto image = UIImage::imageNamed(c.name);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->cgImage()->width(), c.width);
        EXPECT_EQ(image->scale(), c.scale);
    }
}

TEST_F(UIImageNamed, KeepsLoadedImages) {
    const auto first = UIImage::imageNamed("icon");
    std::filesystem::remove(bundle_.file("icon@2x.png"));
    EXPECT_EQ(UIImage::imageNamed("icon"), first);
}

TEST_F(UIImageNamed, MissingAndBrokenImagesAreLogged) {
    const struct {
        const char* name;
        std::vector<std::string> mentions;
    } cases[] = {
        {"missing", {"missing", bundle_.path()}},
        {"broken", {bundle_.file("broken.png"), "not a PNG or JPEG file"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogLines log;
        EXPECT_EQ(UIImage::imageNamed(c.name), nullptr);
        ASSERT_EQ(log.lines().size(), 1u);
        for (const auto& mention : c.mentions) {
            EXPECT_NE(log.lines()[0].find(mention), std::string::npos) << log.lines()[0];
        }
    }
}

} // namespace
