#include "editor/PEImageToolInfo.h"
#include "editor/tools/effect/PEBloomEffect.h"
#include "editor/tools/effect/PEEffectBase.h"
#include "editor/tools/effect/PEEffectDelegate.h"
#include "editor/tools/effect/PEGloomEffect.h"
#include "editor/tools/effect/PEHighlightShadowEffect.h"
#include "editor/tools/effect/PEHueEffect.h"
#include "editor/tools/effect/PEPixellateEffect.h"
#include "editor/tools/effect/PEPosterizeEffect.h"
#include "platform/base/ClassRegistry.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIView.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>

namespace {

constexpr double kPi = std::numbers::pi;

// A picture of `width` x `height` pixels at `scale`, each pixel `pixel(x, y)`.
std::shared_ptr<UIImage> picture(size_t width, size_t height,
                                 const std::function<uint32_t(size_t, size_t)>& pixel,
                                 double scale = 1) {
    return UIImage::imageWithCGImageScaleOrientation(
        makeImage(width, height, CGImagePixelFormat::ARGB32Premultiplied, pixel), scale,
        UIImageOrientation::Up);
}

// Four colours in quarters, so that moving pixels and changing colours both show.
uint32_t quarters(size_t x, size_t y, size_t w, size_t h) {
    static const uint32_t colours[] = {0xff336699u, 0xffcc4422u, 0xff88dd11u, 0xff202020u};
    return colours[(x * 2 / w) + 2 * (y * 2 / h)];
}
std::shared_ptr<UIImage> quartersPicture(size_t w, size_t h, double scale = 1) {
    return picture(
        w, h, [=](size_t x, size_t y) { return quarters(x, y, w, h); }, scale);
}

int channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xff);
}

class Recorder : public PEEffectDelegate {
public:
    void effectParameterDidChange(PEEffectBase& effect) override { changed.push_back(&effect); }
    std::vector<PEEffectBase*> changed;
};

// An effect made by name as the tool makes one, over a 320 x 424 picture area.
class ParameterEffectTest : public ::testing::Test {
protected:
    template <class T> std::shared_ptr<T> make(const std::string& name) {
        auto effect = std::dynamic_pointer_cast<T>(NSClassFromString(name)->alloc());
        EXPECT_TRUE(effect) << name;
        if (effect) {
            effect->initWithSuperViewImageViewFrameToolInfo(
                area, CGRectMake(0, 20, 320, 240), PEImageToolInfo::toolInfoForToolClass(name));
            effect->setDelegate(recorder);
        }
        return effect;
    }
    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    std::shared_ptr<UIView> area = UIView::initWithFrame(CGRectMake(0, 64, 320, 424));
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

TEST_F(ParameterEffectTest, EachClassDescribesItselfForTheStrip) {
    const struct {
        const char* name;
        const char* title;
        double docked;
        double fromVersion;
    } cases[] = {
        {"PEEffectBase", "None", 0, 0},
        {"PESpotEffect", "Spot", 1, 7},
        {"PEHueEffect", "Hue", 2, 5},
        {"PEHighlightShadowEffect", "Highlight", 3, 5},
        {"PEBloomEffect", "Bloom", 4, 6},
        {"PEGloomEffect", "Gloom", 5, 6},
        {"PEPosterizeEffect", "Posterize", 6, 6},
        {"PEPixellateEffect", "Pixelate", 7, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Class* cls = NSClassFromString(c.name);
        ASSERT_TRUE(cls);
        const auto* methods = ClassRegistry::shared().classConformingTo<PEImageToolProtocol>(*cls);
        ASSERT_TRUE(methods);
        EXPECT_EQ(methods->defaultTitle(*cls), c.title);
        EXPECT_EQ(methods->defaultDockedNumber(*cls), c.docked);
        EXPECT_FALSE(methods->subtools(*cls));
        EXPECT_FALSE(methods->optionalInfo(*cls));
        const auto icon = methods->defaultIconImagePath(*cls);
        ASSERT_TRUE(icon);
        EXPECT_TRUE(
            icon->ends_with("PEImageEditor.bundle/PEEffectTool/" + std::string(c.name) + ".png"))
            << *icon;
        for (const char* version : {"5.1", "6.0", "7.0"}) {
            UIDevice::currentDevice()->setSystemVersion(version);
            EXPECT_EQ(methods->isAvailable(*cls), std::stod(version) >= c.fromVersion) << version;
        }
    }
    // The family's shared base is never listed; a class outside the order comes last.
    EXPECT_FALSE(PEImageToolInfo::toolInfoForToolClass("PESliderEffect"));
    const auto* base = ClassRegistry::shared().classConformingTo<PEImageToolProtocol>(
        *NSClassFromString("PEEffectBase"));
    EXPECT_EQ(base->defaultDockedNumber(*NSClassFromString("PESliderEffect")),
              static_cast<double>(INT64_MAX));
}

TEST_F(ParameterEffectTest, SlidersStandInRoundedDarkStripsAtTheirPlaces) {
    const struct {
        const char* name;
        bool continuous;
        float value, minimum, maximum;
    } cases[] = {
        {"PEHueEffect", true, 0, static_cast<float>(-kPi), static_cast<float>(kPi)},
        {"PEHighlightShadowEffect", true, 0, -1, 1},
        {"PEBloomEffect", false, 0.5, 0, 1},
        {"PEGloomEffect", false, 0.5, 0, 1},
        {"PEPosterizeEffect", false, -4, -10, -2},
        {"PEPixellateEffect", false, 0.5, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto effect = make<PESliderEffect>(c.name);
        ASSERT_TRUE(effect);
        const auto container = effect->containerView();
        EXPECT_EQ(container->superview(), area);
        EXPECT_TRUE(CGRectEqualToRect(container->frame(), CGRectMake(0, 0, 320, 424)));
        EXPECT_EQ(container->clipsToBounds(), std::string(c.name) == "PEHueEffect");
        const auto strips = container->subviews();
        const bool twoSliders =
            std::string(c.name) == "PEBloomEffect" || std::string(c.name) == "PEGloomEffect";
        ASSERT_EQ(strips.size(), twoSliders ? 2u : 1u);
        for (const auto& strip : strips) {
            EXPECT_TRUE(CGSizeEqualToSize(strip->bounds().size, CGSizeMake(280, 30)));
            EXPECT_EQ(strip->layer()->cornerRadius(), 15);
            double r = 1, g = 1, b = 1, a = 0;
            ASSERT_TRUE(strip->backgroundColor()->getRedGreenBlueAlpha(&r, &g, &b, &a));
            EXPECT_EQ(r + g + b, 0);
            EXPECT_FLOAT_EQ(a, 0.3);
            auto slider = std::dynamic_pointer_cast<UISlider>(strip->subviews().at(0));
            ASSERT_TRUE(slider);
            EXPECT_TRUE(CGRectEqualToRect(slider->frame(), CGRectMake(10, 0, 260, 30)));
            EXPECT_EQ(slider->isContinuous(), c.continuous);
        }
        // The first strip across the bottom, with the member's range.
        EXPECT_TRUE(CGPointEqualToPoint(strips[0]->center(), CGPointMake(160, 394)));
        auto first = std::dynamic_pointer_cast<UISlider>(strips[0]->subviews()[0]);
        EXPECT_EQ(first->value(), c.value);
        EXPECT_EQ(first->minimumValue(), c.minimum);
        EXPECT_EQ(first->maximumValue(), c.maximum);
        if (twoSliders) {
            // Upright at the right edge, 150 points above the bottom strip's top (379).
            EXPECT_TRUE(CGPointEqualToPoint(strips[1]->center(), CGPointMake(300, 229)));
            const CGAffineTransform t = strips[1]->transform();
            EXPECT_NEAR(t.b, -1, 1e-12);
            EXPECT_NEAR(t.c, 1, 1e-12);
            auto intensity = std::dynamic_pointer_cast<UISlider>(strips[1]->subviews()[0]);
            EXPECT_EQ(intensity->value(), 1);
        }

        // A value change reaches the delegate; cleanup takes the controls away.
        first->sendActionsForControlEvents(UIControlEventValueChanged);
        ASSERT_EQ(recorder->changed.size(), 1u);
        EXPECT_EQ(recorder->changed[0], effect.get());
        recorder->changed.clear();
        effect->cleanup();
        EXPECT_EQ(container->superview(), nullptr);
    }
}

TEST_F(ParameterEffectTest, NeutralSettingsGiveThePictureBackAtScaleOne) {
    // Hue and shadow at 0, and bloom and gloom with no intensity, re-render the picture
    // unchanged; "None" gives the very picture.
    const auto input = quartersPicture(12, 8, 2);
    for (const char* name :
         {"PEHueEffect", "PEHighlightShadowEffect", "PEBloomEffect", "PEGloomEffect"}) {
        SCOPED_TRACE(name);
        auto effect = make<PESliderEffect>(name);
        if (auto bloom = std::dynamic_pointer_cast<PEBloomEffect>(effect)) {
            bloom->intensitySlider()->setValue(0);
        }
        const auto output = effect->applyEffect(input);
        ASSERT_TRUE(output);
        EXPECT_NE(output, input);
        EXPECT_EQ(output->scale(), 1);
        EXPECT_EQ(output->imageOrientation(), UIImageOrientation::Up);
        EXPECT_EQ(pixelsOf(*output->cgImage()), pixelsOf(*input->cgImage()));
    }
    auto none = make<PEEffectBase>("PEEffectBase");
    EXPECT_EQ(none->applyEffect(input), input);
}

TEST_F(ParameterEffectTest, KnownSettingsChangeThePictureAsTheirFiltersDo) {
    const auto input = quartersPicture(12, 8);
    const auto before = pixelsOf(*input->cgImage());

    // Half a turn of hue takes the red corner towards cyan.
    auto hue = make<PEHueEffect>("PEHueEffect");
    hue->hueSlider()->setValue(static_cast<float>(kPi));
    const uint32_t red = hue->applyEffect(input)->cgImage()->pixelAt(9, 1);
    EXPECT_LT(channel(red, 16), channel(red, 8));
    EXPECT_LT(channel(red, 16), channel(red, 0));

    // Lifted shadows brighten the dark corner.
    auto shadow = make<PEHighlightShadowEffect>("PEHighlightShadowEffect");
    shadow->shadowSlider()->setValue(1);
    EXPECT_GT(channel(shadow->applyEffect(input)->cgImage()->pixelAt(9, 6), 8), 0x20);

    // Posterize: the left end asks for 10 levels, the right end for 2.
    auto posterize = make<PEPosterizeEffect>("PEPosterizeEffect");
    for (const auto& [value, levels] : {std::pair{-10.0f, 10}, std::pair{-2.0f, 2}}) {
        posterize->levelSlider()->setValue(value);
        std::set<int> seen;
        for (uint32_t p : pixelsOf(*posterize->applyEffect(input)->cgImage())) {
            for (int shift : {0, 8, 16}) {
                const double step = 255.0 / (levels - 1);
                const double k = std::round(channel(p, shift) / step);
                EXPECT_NEAR(channel(p, shift), k * step, 1.0) << levels;
                seen.insert(channel(p, shift));
            }
        }
        EXPECT_LE(seen.size(), static_cast<size_t>(levels));
    }
}

TEST_F(ParameterEffectTest, BloomAndGloomKeepThePicturesSizeAndTheirDirection) {
    // A bright square on black: bloom spreads light around it, gloom dulls it; neither
    // grows the picture, at scale 1 or 2.
    for (double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        const auto input = picture(
            200, 150,
            [](size_t x, size_t y) {
                return x >= 60 && x < 140 && y >= 50 && y < 100 ? 0xffffffffu : 0xff000000u;
            },
            scale);
        auto bloom = make<PEBloomEffect>("PEBloomEffect");
        auto gloom = make<PEGloomEffect>("PEGloomEffect");
        bloom->radiusSlider()->setValue(1);
        gloom->radiusSlider()->setValue(1);
        const auto bloomed = bloom->applyEffect(input);
        const auto gloomed = gloom->applyEffect(input);
        for (const auto& output : {bloomed, gloomed}) {
            ASSERT_TRUE(output);
            EXPECT_EQ(output->cgImage()->width(), 200u);
            EXPECT_EQ(output->cgImage()->height(), 150u);
        }
        // Beside the square: brighter after bloom; inside near its edge: darker after gloom.
        EXPECT_GT(channel(bloomed->cgImage()->pixelAt(58, 75), 8), 0);
        EXPECT_LT(channel(gloomed->cgImage()->pixelAt(60, 75), 8), 0xff);
        // Neither moves the picture: far from the square's edges nothing changes.
        EXPECT_EQ(bloomed->cgImage()->pixelAt(100, 75), 0xffffffffu);
        EXPECT_EQ(gloomed->cgImage()->pixelAt(100, 75), 0xffffffffu);
        EXPECT_EQ(bloomed->cgImage()->pixelAt(30, 30), 0xff000000u);
        EXPECT_EQ(gloomed->cgImage()->pixelAt(30, 30), 0xff000000u);
    }
}

TEST_F(ParameterEffectTest, RendersReadTheSettingsWhenAskedNotWhenRun) {
    // The tool asks for the render on the main thread and runs it later elsewhere: a
    // slider moved meanwhile changes nothing of the render already taken.
    const auto input = quartersPicture(12, 8);
    auto posterize = make<PEPosterizeEffect>("PEPosterizeEffect");
    posterize->levelSlider()->setValue(-2);
    const auto render = posterize->render();
    posterize->levelSlider()->setValue(-10);
    const auto twoLevels = render(input);
    for (uint32_t p : pixelsOf(*twoLevels->cgImage())) {
        for (int shift : {0, 8, 16}) {
            EXPECT_TRUE(channel(p, shift) == 0 || channel(p, shift) == 255);
        }
    }
}

} // namespace
