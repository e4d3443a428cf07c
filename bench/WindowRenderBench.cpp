// Rendering a whole screen: a 375 x 667 window at scale 2 with a full-screen picture,
// rounded pictures with borders and shadows, labels and a progress overlay over it.
#include "app/widgets/OVProgressHUD.h"
#include "platform/foundation/NSBundle.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGradient.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"

#include <benchmark/benchmark.h>

namespace {
std::shared_ptr<UIImage> gradientPicture(double width, double height) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), true, 2);
    auto context = UIGraphicsGetCurrentContext();
    const double locations[] = {0, 1};
    const double components[] = {0.2, 0.4, 0.8, 1, 0.9, 0.6, 0.3, 1};
    CGContextDrawLinearGradient(context,
                                CGGradientCreateWithColorComponents(components, locations, 2),
                                CGPointMake(0, 0), CGPointMake(width, height), 0);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

std::shared_ptr<UIWindow> makeScreen() {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    auto background = UIImageView::initWithFrame(window->bounds());
    background->setImage(gradientPicture(375, 667));
    window->addSubview(background);
    for (int i = 0; i < 3; ++i) {
        auto button = UIImageView::initWithFrame(CGRectMake(137.5, 120 + 130 * i, 100, 100));
        button->setImage(gradientPicture(100, 100));
        button->layer()->setCornerRadius(20);
        button->layer()->setBorderWidth(3);
        button->layer()->setBorderColor(CGColorMake(1, 1, 1, 1));
        button->layer()->setShadowOpacity(0.5);
        button->layer()->setShadowRadius(4);
        button->setClipsToBounds(true);
        window->addSubview(button);
        auto caption = UILabel::initWithFrame(CGRectMake(0, 222 + 130 * i, 375, 30));
        caption->setText("Collage caption " + std::to_string(i));
        caption->setTextAlignment(NSTextAlignment::Center);
        caption->setTextColor(UIColor::whiteColor());
        window->addSubview(caption);
    }
    auto hud = OVProgressHUD::showHUDAddedToAnimated(window, false);
    hud->setLabelText("Saving");
    hud->setDetailsLabelText("Your collage is being written to the album");
    return window;
}

void BM_RenderFullWindow(benchmark::State& state) {
    NSBundle::setMainBundlePath(MP_BENCH_BUNDLE_DIR);
    auto window = makeScreen();
    for (auto _ : state) {
        auto image = ViewRenderer::snapshotWindow(*window, 2);
        benchmark::DoNotOptimize(image);
    }
    state.SetItemsProcessed(state.iterations() * 750 * 1334);
}
BENCHMARK(BM_RenderFullWindow)->Unit(benchmark::kMillisecond);
} // namespace
