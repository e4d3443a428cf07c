#include "app/MixTemplateCell.h"

#include <gtest/gtest.h>

namespace {
TEST(MixTemplateCellTest, CoveringSizeKeepsTheRatioAndCoversTheCell) {
    struct Case {
        const char* what;
        CGSize image, cell, expected;
    };
    const Case cases[] = {
        {"landscape photo, tall narrow cell: as high as the cell, wider",
         {400, 300},
         {100, 200},
         {800.0 / 3, 200}},
        {"portrait photo, tall cell: the height fits, then the width is raised",
         {300, 600},
         {150, 200},
         {150, 300}},
        {"landscape photo, wide cell: as wide as the cell", {400, 200}, {300, 100}, {300, 150}},
        {"panorama, wide cell: the width fits, then the height is raised",
         {1000, 100},
         {300, 100},
         {1000, 100}},
        {"square cell takes the height first", {200, 100}, {50, 50}, {100, 50}},
        {"same ratio: exactly the cell", {640, 480}, {320, 240}, {320, 240}},
        {"an image without area gives the cell", {0, 100}, {120, 80}, {120, 80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CGSize size = MixTemplateCell::coveringSizeForImageSizeInCellSize(c.image, c.cell);
        EXPECT_NEAR(size.width, c.expected.width, 1e-9);
        EXPECT_NEAR(size.height, c.expected.height, 1e-9);
        EXPECT_GE(size.width, c.cell.width);
        EXPECT_GE(size.height, c.cell.height);
    }
}

TEST(MixTemplateCellTest, HitTestFollowsTheOutlineNotTheFrame) {
    // A chevron: its notch lies inside the frame but outside the outline.
    auto chevron = UIBezierPath::bezierPath();
    chevron->moveToPoint(CGPointMake(0, 0));
    chevron->addLineToPoint(CGPointMake(100, 0));
    chevron->addLineToPoint(CGPointMake(100, 100));
    chevron->addLineToPoint(CGPointMake(0, 100));
    chevron->addLineToPoint(CGPointMake(50, 50));
    chevron->closePath();
    MixTemplateCell cell(CGRectMake(20, 30, 100, 100), chevron);
    struct Case {
        CGPoint point;
        bool inside;
    };
    const Case cases[] = {
        {{80, 50}, true},  {{10, 5}, true},    {{10, 95}, true},  {{10, 50}, false},
        {{40, 50}, false}, {{150, 50}, false}, {{-1, 50}, false}, {{60, 50}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(NSStringFromCGPoint(c.point));
        EXPECT_EQ(cell.containsPoint(c.point), c.inside);
    }
    MixTemplateCell without(CGRectMake(0, 0, 100, 100), nullptr);
    EXPECT_FALSE(without.containsPoint(CGPointMake(50, 50)));
}
} // namespace
