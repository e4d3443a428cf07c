#include "app/MixPhotosEditView.h"
#include "app/MixStyleCollectionViewCell.h"
#include "app/MixTemplateLayout.h"
#include "harness/TouchInjector.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::shared_ptr<UIImage> solidImage(size_t width, size_t height, uint32_t argb) {
    return UIImage::imageWithCGImage(makeImage(width, height,
                                               CGImagePixelFormat::ARGB32Premultiplied,
                                               [argb](size_t, size_t) { return argb; }));
}

std::shared_ptr<UIBezierPath> polygon(const std::vector<CGPoint>& points) {
    auto path = UIBezierPath::bezierPath();
    path->moveToPoint(points.front());
    for (size_t i = 1; i < points.size(); ++i) {
        path->addLineToPoint(points[i]);
    }
    path->closePath();
    return path;
}

struct TapCounter : MixPhotosEditViewDelegate {
    void tapWithEditView(const MixPhotosEditView& view) override { taps.push_back(view.tag()); }
    std::vector<long> taps;
};

class MixPhotosEditViewTest : public testing::Test {
protected:
    MixPhotosEditViewTest() {
        UIScreen::configureMainScreen(CGSizeMake(375, 667), 2);
        window->makeKeyAndVisible();
        window->addSubview(area);
    }

    std::shared_ptr<MixPhotosEditView> addCell(CGRect frame, std::shared_ptr<UIBezierPath> outline,
                                               std::shared_ptr<UIImage> photo) {
        auto cell = MixPhotosEditView::initWithFrame(frame);
        cell->setClipsToBounds(true);
        cell->setRealCellArea(std::move(outline));
        cell->setImageViewData(photo);
        area->addSubview(cell);
        environment.fastForwardBy(1); // the photo's first zoom settles
        return cell;
    }

    TaskEnvironment environment;
    TestHome home;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    // The collage area, away from the window's corner so that conversions matter.
    std::shared_ptr<UIView> area = UIView::initWithFrame(CGRectMake(20, 40, 300, 400));
};

TEST_F(MixPhotosEditViewTest, ThePhotoCoversTheCellAtTheSmallestZoom) {
    struct Case {
        const char* what;
        CGSize photo;
        CGRect cell;
        CGSize cover;
    };
    // A cell of width w has the smallest zoom w / (2.5 x 375).
    const Case cases[] = {
        {"landscape photo, tall narrow cell: as high as the cell, panned sideways",
         {400, 300},
         {0, 0, 100, 200},
         {800.0 / 3, 200}},
        {"portrait photo, wide cell: as wide as the cell",
         {300, 600},
         {0, 0, 250, 100},
         {250, 500}},
        {"same ratio: exactly the cell", {640, 480}, {0, 0, 240, 180}, {240, 180}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto cell = addCell(c.cell,
                            UIBezierPath::bezierPathWithRect(
                                CGRectMake(0, 0, c.cell.size.width, c.cell.size.height)),
                            solidImage(static_cast<size_t>(c.photo.width),
                                       static_cast<size_t>(c.photo.height), 0xffff0000));
        auto inner = cell->contentView();
        const double minimum = static_cast<float>(c.cell.size.width / (2.5 * 375));
        EXPECT_NEAR(inner->minimumZoomScale(), minimum, 1e-9);
        EXPECT_EQ(inner->maximumZoomScale(), 1.0);
        // The photo starts at 0.2 unless the cell is so wide that its smallest zoom is more.
        const double zoom = std::max(minimum, 0.2);
        EXPECT_NEAR(inner->zoomScale(), zoom, 1e-6);
        const CGSize unzoomed = cell->imageview()->bounds().size;
        EXPECT_NEAR(unzoomed.width * minimum, c.cover.width, 1e-6);
        EXPECT_NEAR(unzoomed.height * minimum, c.cover.height, 1e-6);
        // Anchored at the top left of the content; the content is the zoomed photo.
        EXPECT_NEAR(inner->contentSize().width, c.cover.width * zoom / minimum, 1e-6);
        EXPECT_NEAR(inner->contentSize().height, c.cover.height * zoom / minimum, 1e-6);
        cell->removeFromSuperview();
    }
}

TEST_F(MixPhotosEditViewTest, ANullPhotoLeavesTheCellAsItWas) {
    auto cell = addCell(CGRectMake(0, 0, 100, 100), nullptr, nullptr);
    EXPECT_EQ(cell->imageview()->image(), nullptr);
    EXPECT_EQ(cell->layer()->mask(), nullptr);
    EXPECT_NEAR(cell->contentView()->zoomScale(), cell->contentView()->minimumZoomScale(), 1e-9);
}

TEST_F(MixPhotosEditViewTest, TouchesOutsideTheOutlineReachTheViewBelow) {
    auto photo = solidImage(40, 40, 0xff00ff00);
    auto below = addCell(CGRectMake(0, 0, 200, 200),
                         UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 200, 200)), photo);
    below->setTag(1);
    // Above it, the same rectangle cut along its diagonal: only the upper-left half is its.
    auto above = addCell(CGRectMake(0, 0, 200, 200), polygon({{0, 0}, {200, 0}, {0, 200}}), photo);
    above->setTag(2);
    auto outlineless = addCell(CGRectMake(210, 0, 80, 80), nullptr, photo);
    auto counter = std::make_shared<TapCounter>();
    above->setTapDelegate(counter);

    struct Case {
        CGPoint point; // in the collage area
        const UIView* owner;
    };
    const Case cases[] = {
        {{30, 30}, above.get()},   {{190, 5}, above.get()},   {{5, 190}, above.get()},
        {{170, 170}, below.get()}, {{110, 110}, below.get()}, {{250, 40}, area.get()},
        {{250, 300}, area.get()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(NSStringFromCGPoint(c.point));
        auto hit = window->hitTestWithEvent(area->convertPointToView(c.point, nullptr), nullptr);
        ASSERT_NE(hit, nullptr);
        EXPECT_TRUE(hit.get() == c.owner ||
                    (c.owner != area.get() && hit->isDescendantOfView(c.owner)))
            << hit->description();
    }
    // Every hit test asks the cell above, wherever the point falls inside its rectangle.
    EXPECT_GE(counter->taps.size(), 5u);
    EXPECT_TRUE(
        std::all_of(counter->taps.begin(), counter->taps.end(), [](long tag) { return tag == 2; }));
    EXPECT_FALSE(outlineless->pointInsideWithEvent(CGPointMake(40, 40), nullptr));
}

TEST_F(MixPhotosEditViewTest, DoubleTapsZoomInStepByStepUpToTheMaximum) {
    // The photo has the cell's shape, so it fills the cell exactly at the smallest zoom.
    auto cell = addCell(CGRectMake(0, 0, 150, 200),
                        UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 150, 200)),
                        solidImage(300, 400, 0xff0000ff));
    auto inner = cell->contentView();
    const CGSize photo = cell->imageview()->bounds().size;
    const CGPoint photoCentre = CGPointMake(photo.width / 2, photo.height / 2);
    const CGPoint tap = cell->convertPointToView(CGPointMake(75, 100), nullptr);
    float expected = 0.2f;
    ASSERT_NEAR(inner->zoomScale(), expected, 1e-6);
    int steps = 0;
    for (; steps < 20 && expected < 1.0f; ++steps) {
        SCOPED_TRACE(steps);
        ASSERT_TRUE(TouchInjector::doubleTapAt(tap));
        environment.fastForwardBy(1);
        expected = std::min(1.0f, expected * 1.2f);
        EXPECT_NEAR(inner->zoomScale(), expected, 1e-5);
        // Zooming is about the tapped point: the cell's centre still shows the photo's.
        CGPoint shown = cell->convertPointToView(CGPointMake(75, 100), cell->imageview().get());
        EXPECT_NEAR(shown.x, photoCentre.x, 1e-3);
        EXPECT_NEAR(shown.y, photoCentre.y, 1e-3);
    }
    EXPECT_EQ(steps, 9); // 0.2 x 1.2^9 > 1
    ASSERT_TRUE(TouchInjector::doubleTapAt(tap));
    environment.fastForwardBy(1);
    EXPECT_NEAR(inner->zoomScale(), 1.0, 1e-9);
}

TEST_F(MixPhotosEditViewTest, ZoomRectIsTheCellDividedByTheScale) {
    auto cell = MixPhotosEditView::initWithFrame(CGRectMake(0, 0, 120, 80));
    EXPECT_EQ(cell->zoomRectForScaleWithCenter(2, CGPointMake(100, 100)),
              CGRectMake(70, 80, 60, 40));
    EXPECT_EQ(cell->zoomRectForScaleWithCenter(0, CGPointMake(60, 40)), CGRectMake(0, 0, 120, 80));
}

TEST_F(MixPhotosEditViewTest, DraggingMovesThePhoto) {
    // A landscape photo in a narrow cell is wider than the cell: a drag pans across it.
    auto narrow = addCell(CGRectMake(0, 0, 100, 200),
                          UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 100, 200)),
                          solidImage(400, 300, 0xffff0000));
    const CGPoint before = narrow->contentView()->contentOffset();
    ASSERT_TRUE(TouchInjector::drag(area->convertPointToView(CGPointMake(80, 100), nullptr),
                                    area->convertPointToView(CGPointMake(30, 100), nullptr), 0.3));
    environment.fastForwardBy(5);
    EXPECT_GT(narrow->contentView()->contentOffset().x, before.x + 20);
    EXPECT_NEAR(narrow->contentView()->contentOffset().y, before.y, 1e-9);

    // A photo that exactly fills its cell has nothing to pan: the finger carries the photo's
    // centre instead, measured in the collage area.
    auto fitted = addCell(CGRectMake(0, 210, 240, 180),
                          UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 240, 180)),
                          solidImage(480, 360, 0xff00ff00));
    ASSERT_NEAR(fitted->contentView()->zoomScale(), fitted->contentView()->minimumZoomScale(),
                1e-9);
    ASSERT_TRUE(TouchInjector::drag(area->convertPointToView(CGPointMake(120, 300), nullptr),
                                    area->convertPointToView(CGPointMake(150, 320), nullptr), 0.3));
    const CGPoint centre = fitted->imageview()->center();
    EXPECT_NEAR(centre.x, 150, 1e-6);
    EXPECT_NEAR(centre.y, 320, 1e-6);
}

TEST_F(MixPhotosEditViewTest, ARenderedLayoutShowsEachPhotoInItsOutlineOnly) {
    // Three-photo style 6: two triangles and the hexagon between them.
    auto layout = MixTemplateLayout::layoutWithStyleIndexImageCount(6, 3);
    ASSERT_NE(layout, nullptr);
    const uint32_t background = 0xff808080;
    const uint32_t colours[] = {0xffff0000, 0xff00ff00, 0xff0000ff};
    auto collage = UIView::initWithFrame(CGRectMake(0, 0, 220, 260));
    collage->setBackgroundColor(
        UIColor::colorWithRedGreenBlueAlpha(128 / 255.0, 128 / 255.0, 128 / 255.0, 1));
    auto content = UIView::initWithFrame(CGRectMake(10, 10, 200, 240));
    collage->addSubview(content);
    const auto cells = layout->cellsWithAreaSizePhotoCount(content->bounds().size, 3);
    ASSERT_EQ(cells.size(), 3u);
    for (size_t i = 0; i < cells.size(); ++i) {
        auto cell = MixPhotosEditView::initWithFrame(cells[i].frame());
        cell->setClipsToBounds(true);
        cell->setRealCellArea(cells[i].realCellArea());
        cell->setImageViewData(solidImage(30, 40, colours[i]));
        content->addSubview(cell);
    }
    environment.runUntilIdle();

    UIGraphicsBeginImageContextWithOptions(collage->bounds().size, true, 1);
    ViewRenderer::renderInContext(*collage, UIGraphicsGetCurrentContext());
    auto picture = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    ASSERT_NE(picture, nullptr);
    auto pixels = picture->cgImage();

    // What should show at a point of the collage: the last cell whose outline holds it, or
    // the background (-1).
    auto owner = [&](CGPoint p) {
        CGPoint local = CGPointMake(p.x - 10, p.y - 10);
        for (size_t i = cells.size(); i-- > 0;) {
            CGRect frame = cells[i].frame();
            if (CGRectContainsPoint(frame, local) &&
                cells[i].containsPoint(
                    CGPointMake(local.x - frame.origin.x, local.y - frame.origin.y))) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    size_t checked[4] = {};
    for (size_t y = 0; y < pixels->height(); ++y) {
        for (size_t x = 0; x < pixels->width(); ++x) {
            CGPoint p = CGPointMake(x + 0.5, y + 0.5);
            int who = owner(p);
            // Edges are blended; judge only pixels whose whole neighbourhood has one owner.
            bool clear = true;
            for (double dx : {-1.5, 1.5}) {
                for (double dy : {-1.5, 1.5}) {
                    clear = clear && owner(CGPointMake(p.x + dx, p.y + dy)) == who;
                }
            }
            if (!clear) {
                continue;
            }
            uint32_t want = who < 0 ? background : colours[who];
            ASSERT_EQ(pixels->pixelAt(x, y) & 0xffffff, want & 0xffffff)
                << "at " << x << ", " << y << " owned by " << who;
            ++checked[who + 1];
        }
    }
    for (size_t count : checked) {
        EXPECT_GT(count, 500u);
    }
}

TEST_F(MixPhotosEditViewTest, StyleTilesShowTheirThumbnailAndForgetTheCheckMark) {
    auto tile = MixStyleCollectionViewCell::initWithFrame(CGRectMake(0, 0, 90, 90));
    EXPECT_EQ(tile->imageView()->frame(), CGRectMake(0, 0, 90, 90));
    EXPECT_EQ(tile->selectedImageView()->frame(), CGRectMake(65, 65, 20, 20));
    EXPECT_TRUE(tile->selectedImageView()->isHidden());
    EXPECT_NE(tile->selectedImageView()->image(), nullptr);
    for (long count = MixTemplateLayout::kMinimumImageCount;
         count <= MixTemplateLayout::kMaximumImageCount; ++count) {
        for (long index = 0; index < MixTemplateLayout::kStyleCount; ++index) {
            SCOPED_TRACE(
                MixStyleCollectionViewCell::thumbnailNameForImageCountStyle(count, index + 1));
            tile->displayImageAtIndexTag(index, count);
            EXPECT_NE(tile->imageView()->image(), nullptr);
        }
    }
    EXPECT_EQ(MixStyleCollectionViewCell::thumbnailNameForImageCountStyle(2, 1),
              "makecards_puzzle2_storyboard1_icon");
    tile->selectedImageView()->setHidden(false);
    tile->prepareForReuse();
    EXPECT_EQ(tile->imageView()->image(), nullptr);
    EXPECT_TRUE(tile->selectedImageView()->isHidden());
}
} // namespace
