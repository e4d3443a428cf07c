#include "platform/base/ClassRegistry.h"
#include "platform/graphics/CGPath.h"
#include "platform/quartzcore/CABasicAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/quartzcore/CAShapeLayer.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

namespace {
constexpr uint32_t kRed = 0xffff0000, kBlue = 0xff0000ff, kWhite = 0xffffffff, kBlack = 0xff000000,
                   kGreen = 0xff00ff00;

// The window at scale 1, pixel (x, y) from the top left.
uint32_t pixel(const std::shared_ptr<UIImage>& shot, size_t x, size_t y) {
    return shot->cgImage()->pixelAt(x, y);
}

std::shared_ptr<UIView> colouredView(CGRect frame, std::shared_ptr<UIColor> color) {
    auto view = UIView::initWithFrame(frame);
    view->setBackgroundColor(std::move(color));
    return view;
}

class ViewRendererTest : public ::testing::Test {
protected:
    void SetUp() override { window->setBackgroundColor(UIColor::whiteColor()); }
    TestHome home; // the bundle, for the label's fonts
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 100, 100));
};

TEST_F(ViewRendererTest, SubviewsPaintInOrderAtTheirPlaces) {
    window->addSubview(colouredView(CGRectMake(10, 10, 30, 30), UIColor::redColor()));
    window->addSubview(colouredView(CGRectMake(30, 30, 30, 30), UIColor::blueColor()));
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->scale(), 1);
    EXPECT_EQ(pixel(shot, 5, 5), kWhite);
    EXPECT_EQ(pixel(shot, 15, 15), kRed);
    EXPECT_EQ(pixel(shot, 35, 35), kBlue); // the later view lies on top
    EXPECT_EQ(pixel(shot, 55, 55), kBlue);
}

TEST_F(ViewRendererTest, HiddenAndTranslucentViews) {
    auto hidden = colouredView(CGRectMake(0, 0, 50, 50), UIColor::redColor());
    hidden->setHidden(true);
    auto half = colouredView(CGRectMake(50, 50, 50, 50), UIColor::blackColor());
    half->setAlpha(0.5);
    // A translucent parent fades its subviews with it, as one picture.
    half->addSubview(colouredView(CGRectMake(0, 0, 25, 25), UIColor::blackColor()));
    window->addSubview(hidden);
    window->addSubview(half);
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    EXPECT_EQ(pixel(shot, 10, 10), kWhite);
    uint32_t grey = pixel(shot, 60, 60);
    EXPECT_NEAR(grey & 0xff, 128, 2);
    EXPECT_EQ(pixel(shot, 60, 60), pixel(shot, 90, 90));
}

TEST_F(ViewRendererTest, RotatedRoundedClippedAndMaskedTree) {
    // A 40-point square turned a quarter: still covers the same square.
    auto turned = colouredView(CGRectMake(10, 10, 40, 40), UIColor::redColor());
    turned->setTransform(CGAffineTransformMakeRotation(std::numbers::pi / 4));
    window->addSubview(turned);
    // Rounded corners clip the child too.
    auto rounded = colouredView(CGRectMake(55, 5, 40, 40), UIColor::blueColor());
    rounded->layer()->setCornerRadius(20);
    rounded->setClipsToBounds(true);
    rounded->addSubview(colouredView(CGRectMake(0, 0, 40, 40), UIColor::greenColor()));
    window->addSubview(rounded);
    // A triangle mask keeps only its lower-left half.
    auto masked = colouredView(CGRectMake(10, 55, 40, 40), UIColor::blackColor());
    auto triangle = CAShapeLayer::layer();
    auto path = CGPathCreateMutable();
    CGPathMoveToPoint(path, nullptr, 0, 0);
    CGPathAddLineToPoint(path, nullptr, 0, 40);
    CGPathAddLineToPoint(path, nullptr, 40, 40);
    CGPathCloseSubpath(path);
    triangle->setPath(path);
    triangle->setFrame(CGRectMake(0, 0, 40, 40));
    masked->layer()->setMask(triangle);
    window->addSubview(masked);
    // A label inside a rotated, clipping parent: its ink is turned with it.
    auto turnedBox = colouredView(CGRectMake(55, 55, 40, 40), UIColor::whiteColor());
    turnedBox->setClipsToBounds(true);
    turnedBox->setTransform(CGAffineTransformMakeRotation(std::numbers::pi / 2));
    auto label = UILabel::initWithFrame(CGRectMake(0, 0, 40, 12));
    label->setText("MMMMMMMM");
    label->setFont(UIFont::boldSystemFontOfSize(11));
    turnedBox->addSubview(label);
    window->addSubview(turnedBox);

    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    // The diamond: its tip reaches above the unrotated square's top, its corner is gone.
    EXPECT_EQ(pixel(shot, 30, 3), kRed);
    EXPECT_EQ(pixel(shot, 12, 12), kWhite);
    EXPECT_EQ(pixel(shot, 30, 30), kRed);
    // The rounded square: the child is clipped at the corner.
    EXPECT_EQ(pixel(shot, 75, 25), kGreen);
    EXPECT_EQ(pixel(shot, 56, 6), kWhite);
    // The masked square: black below its diagonal, white above.
    EXPECT_EQ(pixel(shot, 15, 90), kBlack);
    EXPECT_EQ(pixel(shot, 45, 60), kWhite);
    // The label's top edge now runs down the right side of its box; the clip keeps its
    // overflowing text inside the box.
    int rightInk = 0, leftInk = 0;
    for (size_t y = 57; y < 93; ++y) {
        rightInk += (pixel(shot, 90, y) & 0xff) < 128 ? 1 : 0;
        leftInk += (pixel(shot, 60, y) & 0xff) < 128 ? 1 : 0;
    }
    EXPECT_GT(rightInk, 5);
    EXPECT_EQ(leftInk, 0);
    EXPECT_EQ(pixel(shot, 99, 75), kWhite);
}

TEST_F(ViewRendererTest, BorderAndShadow) {
    auto card = colouredView(CGRectMake(30, 30, 40, 40), UIColor::whiteColor());
    card->layer()->setBorderWidth(4);
    card->layer()->setBorderColor(CGColorMake(0, 0, 1, 1));
    card->layer()->setShadowOpacity(1);
    card->layer()->setShadowOffset(CGSizeMake(0, 6));
    card->layer()->setShadowRadius(1);
    window->addSubview(card);
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    EXPECT_EQ(pixel(shot, 31, 50), kBlue);
    EXPECT_EQ(pixel(shot, 50, 50), kWhite);
    // The shadow falls below the card, not above it.
    EXPECT_LT(pixel(shot, 50, 73) & 0xff, 128u);
    EXPECT_EQ(pixel(shot, 50, 26), kWhite);
}

TEST_F(ViewRendererTest, ImageViewContentModesAndScale) {
    // A 2x1 image: red on the left, blue on the right.
    std::vector<uint8_t> pixels(8);
    uint32_t left = kRed, right = kBlue;
    std::memcpy(pixels.data(), &left, 4);
    std::memcpy(pixels.data() + 4, &right, 4);
    auto image = UIImage::imageWithCGImage(
        CGImage::create(2, 1, CGImagePixelFormat::ARGB32Premultiplied, 8, pixels));
    auto fit = UIImageView::initWithFrame(CGRectMake(0, 0, 40, 40));
    fit->setImage(image);
    fit->setContentMode(UIViewContentMode::ScaleAspectFit);
    window->addSubview(fit);
    auto shot = ViewRenderer::snapshotWindow(*window, 2);
    EXPECT_EQ(shot->cgImage()->width(), 200u);
    // Aspect fit: a 40x20 band in the middle of the view.
    EXPECT_EQ(pixel(shot, 10, 40), kRed);
    EXPECT_EQ(pixel(shot, 70, 40), kBlue);
    EXPECT_EQ(pixel(shot, 40, 10), kWhite);
    EXPECT_EQ(UIImageView::imageRectForContentMode(UIViewContentMode::ScaleAspectFill,
                                                   CGSizeMake(2, 1), CGSizeMake(40, 40)),
              CGRectMake(-20, 0, 80, 40));
}
TEST_F(ViewRendererTest, AnImageShownShrunkIsAreaAveragedAndFollowsItsImageAndSize) {
    // Columns of one pixel alternating between two colours, 8 times the view's pixels across.
    auto stripes = [](uint32_t even, uint32_t odd) {
        return UIImage::imageWithCGImage(
            makeImage(320, 160, CGImagePixelFormat::ARGB32Premultiplied,
                      [=](size_t x, size_t) { return x % 2 ? odd : even; }));
    };
    auto view = UIImageView::initWithFrame(CGRectMake(0, 0, 40, 20));
    view->setImage(stripes(kBlack, kWhite));
    window->addSubview(view);
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    for (size_t x = 0; x < 40; ++x) {
        for (size_t y : {0, 10, 19}) {
            const uint32_t grey = pixel(shot, x, y);
            EXPECT_EQ(grey >> 24, 0xffu) << x << "," << y;
            EXPECT_NEAR(double(grey & 0xff), 127.5, 1) << x << "," << y;
        }
    }
    EXPECT_EQ(pixel(shot, 45, 10), kWhite);

    // Another image of the same size, then the same one at another size, are drawn afresh.
    view->setImage(stripes(kRed, kRed));
    shot = ViewRenderer::snapshotWindow(*window, 1);
    EXPECT_EQ(pixel(shot, 20, 10), kRed);
    EXPECT_EQ(pixel(shot, 39, 19), kRed);
    view->setFrame(CGRectMake(0, 0, 80, 40));
    shot = ViewRenderer::snapshotWindow(*window, 1);
    EXPECT_EQ(pixel(shot, 79, 39), kRed);
    EXPECT_EQ(pixel(shot, 85, 39), kWhite);
    shot = ViewRenderer::snapshotWindow(*window, 2);
    EXPECT_EQ(pixel(shot, 159, 79), kRed);
}

// A 10x10 checkerboard of 5-pixel red and blue squares, red at the top left.
std::shared_ptr<UIImage> checkerTile(double scale) {
    CGImageRef tile =
        makeImage(10, 10, CGImagePixelFormat::ARGB32Premultiplied,
                  [](size_t x, size_t y) { return (x < 5) == (y < 5) ? kRed : kBlue; });
    return UIImage::imageWithCGImageScaleOrientation(tile, scale, UIImageOrientation::Up);
}

TEST_F(ViewRendererTest, PatternBackgroundsTileFromTheWindowsOrigin) {
    auto atOrigin =
        colouredView(CGRectMake(0, 0, 40, 20), UIColor::colorWithPatternImage(checkerTile(1)));
    auto shifted =
        colouredView(CGRectMake(5, 40, 40, 20), UIColor::colorWithPatternImage(checkerTile(1)));
    window->addSubview(atOrigin);
    window->addSubview(shifted);
    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    struct Case {
        size_t x, y;
        uint32_t expected;
    };
    const Case cases[] = {
        {2, 2, kRed},
        {7, 2, kBlue},
        {2, 7, kBlue},
        {12, 12, kRed},
        {37, 17, kRed},
        {32, 17, kBlue},
        {42, 2, kWhite}, // past the view, the window's own background
        // The shifted view starts mid-tile: its first column is the tile's sixth.
        {7, 42, kBlue},
        {12, 42, kRed},
        {44, 47, kBlue},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pixel(shot, c.x, c.y), c.expected) << c.x << ", " << c.y;
    }
}

TEST_F(ViewRendererTest, PatternTilesHonourTheImagesScale) {
    // A scale-2 tile covers 5 points: at a scale-2 snapshot its pixels land one to one.
    window->addSubview(
        colouredView(CGRectMake(0, 0, 40, 20), UIColor::colorWithPatternImage(checkerTile(2))));
    auto shot = ViewRenderer::snapshotWindow(*window, 2);
    EXPECT_EQ(pixel(shot, 2, 2), kRed);
    EXPECT_EQ(pixel(shot, 7, 2), kBlue);
    EXPECT_EQ(pixel(shot, 12, 2), kRed);
    EXPECT_EQ(pixel(shot, 12, 17), kBlue);
}

TEST_F(ViewRendererTest, APatternOfNoImagePaintsNothing) {
    window->addSubview(colouredView(CGRectMake(0, 0, 40, 20),
                                    UIColor::colorWithPatternImage(std::shared_ptr<UIImage>())));
    EXPECT_EQ(pixel(ViewRenderer::snapshotWindow(*window, 1), 10, 10), kWhite);
}

} // namespace

namespace {

// A view's layer turned in 3-D is drawn by its affine part (about the view's centre), and
// so is a free sublayer's; the view's transform and frame follow its layer.
TEST_F(ViewRendererTest, ALayersThreeDTransformIsDrawnByItsAffinePart) {
    // Left half red, right half blue, turned half about the y axis: blue on the left.
    auto view = colouredView(CGRectMake(20, 20, 40, 20), UIColor::blueColor());
    auto left = colouredView(CGRectMake(0, 0, 20, 20), UIColor::redColor());
    view->addSubview(left);
    window->addSubview(view);
    view->layer()->setTransform(CATransform3DMakeRotation(std::numbers::pi, 0, 1, 0));
    EXPECT_NEAR(view->transform().a, -1, 1e-12);
    EXPECT_NEAR(view->frame().origin.x, 20, 1e-9);
    EXPECT_NEAR(view->frame().size.width, 40, 1e-9);
    // A quarter turn about z makes the frame stand up, as the preview of a turned picture
    // does.
    auto turned = colouredView(CGRectMake(70, 10, 20, 10), UIColor::blackColor());
    window->addSubview(turned);
    turned->layer()->setTransform(CATransform3DMakeRotation(std::numbers::pi / 2, 0, 0, 1));
    EXPECT_NEAR(turned->frame().size.width, 10, 1e-9);
    EXPECT_NEAR(turned->frame().size.height, 20, 1e-9);
    // A free layer, turned a half about x: its top stripe shows at the bottom.
    auto layer = CALayer::layer();
    layer->setFrame(CGRectMake(20, 60, 20, 20));
    layer->setBackgroundColor(CGColorMake(0, 1, 0, 1));
    auto stripe = CALayer::layer();
    stripe->setFrame(CGRectMake(0, 0, 20, 5));
    stripe->setBackgroundColor(CGColorMake(0, 0, 0, 1));
    layer->addSublayer(stripe);
    layer->setTransform(CATransform3DMakeRotation(std::numbers::pi, 1, 0, 0));
    window->layer()->addSublayer(layer);

    auto shot = ViewRenderer::snapshotWindow(*window, 1);
    ASSERT_TRUE(shot);
    EXPECT_EQ(pixel(shot, 25, 30), kBlue);
    EXPECT_EQ(pixel(shot, 55, 30), kRed);
    // Standing up about its centre (80, 15): 75 to 85 across, 5 to 25 down.
    EXPECT_EQ(pixel(shot, 80, 7), kBlack);
    EXPECT_EQ(pixel(shot, 80, 23), kBlack);
    EXPECT_EQ(pixel(shot, 72, 15), kWhite);
    EXPECT_EQ(pixel(shot, 80, 3), kWhite);
    EXPECT_EQ(pixel(shot, 30, 62), kGreen);
    EXPECT_EQ(pixel(shot, 30, 78), kBlack);

    // Setting the view's transform sets its layer's, as an affine 3-D transform.
    view->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    EXPECT_EQ(CATransform3DGetAffineTransform(view->layer()->transform()),
              CGAffineTransformMakeScale(0.5, 0.5));
    EXPECT_EQ(view->layer()->transform().m33, 1);
}

// A layer that paints a colour of its own, with a hole cleared in its middle, and repaints
// for that colour.
class TintLayer : public CALayer {
    NS_OBJECT(TintLayer)
public:
    static std::shared_ptr<TintLayer> alloc() { return make<TintLayer>(); }

    CGColor tint = CGColorMake(0, 0, 1, 1);

    bool needsDisplayForKey(const std::string& key) const override {
        return key == "tint" || CALayer::needsDisplayForKey(key);
    }
    void initWithLayer(const CALayer& layer) override {
        CALayer::initWithLayer(layer);
        if (const auto* other = dynamic_cast<const TintLayer*>(&layer)) {
            tint = other->tint;
        }
    }
    void drawInContext(const CGContextRef& context) const override {
        CGContextSetFillColorWithColor(context, tint);
        CGContextFillRect(context, bounds());
        CGContextClearRect(context, CGRectInset(bounds(), 10, 10));
    }

protected:
    TintLayer() = default;
};

// While an animation of a key the layer draws from runs, a copy made through its class
// paints in its place, the same way; what the layer clears clears only its own paint.
TEST_F(ViewRendererTest, ALayerThatDrawsItselfRepaintsForItsOwnKeysThroughACopy) {
    TaskEnvironment environment;
    ClassRegistry::shared().add<TintLayer, CALayer>();
    auto view = colouredView(CGRectMake(0, 0, 100, 100), UIColor::redColor());
    window->addSubview(view);
    auto layer = TintLayer::alloc();
    layer->setFrame(CGRectMake(20, 20, 60, 60));
    layer->tint = CGColorMake(0, 1, 0, 1);
    view->layer()->addSublayer(layer);
    EXPECT_FALSE(layer->needsDisplay());

    // A key it does not draw from: no repaint, no copy.
    auto fade = CABasicAnimation::animationWithKeyPath("opacity");
    layer->addAnimationForKey(fade, "fade");
    EXPECT_FALSE(layer->needsDisplay());
    EXPECT_EQ(layer->presentationLayer(), layer);

    auto change = CABasicAnimation::animationWithKeyPath("tint");
    change->setDuration(0.5);
    layer->addAnimationForKey(change, "tint");
    EXPECT_TRUE(layer->needsDisplay());
    auto copy = std::dynamic_pointer_cast<const TintLayer>(layer->presentationLayer());
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, layer);
    EXPECT_EQ(copy->frame(), layer->frame());
    EXPECT_TRUE(CGColorEqualToColor(copy->tint, layer->tint));
    EXPECT_TRUE(copy->sublayers().empty());

    const auto during = ViewRenderer::snapshotWindow(*window, 1);
    environment.fastForwardBy(0.5);
    EXPECT_EQ(layer->presentationLayer(), layer);
    const auto after = ViewRenderer::snapshotWindow(*window, 1);
    for (const auto& shot : {during, after}) {
        EXPECT_EQ(pixel(shot, 25, 25), kGreen);
        EXPECT_EQ(pixel(shot, 50, 50), kRed); // the hole shows the view beneath
        EXPECT_EQ(pixel(shot, 10, 10), kRed);
    }
}

} // namespace
