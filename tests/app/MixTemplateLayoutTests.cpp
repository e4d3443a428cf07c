#include "app/MixTemplateLayout.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
using Points = std::vector<const char*>;

// A layout property list: the canvas size string and each cell's point strings.
PlistValue layoutList(const char* size, const std::vector<Points>& cells) {
    PlistValue::Array entries;
    for (const Points& points : cells) {
        PlistValue::Array list(points.begin(), points.end());
        entries.emplace_back(PlistValue::Dictionary{{"pointArray", list}});
    }
    return PlistValue::Dictionary{{"SuperViewInfo", PlistValue::Dictionary{{"size", size}}},
                                  {"SubViewArray", entries}};
}

std::shared_ptr<MixTemplateLayout> layoutOf(const char* size, const std::vector<Points>& cells) {
    return MixTemplateLayout::layoutWithPropertyList(layoutList(size, cells), "test");
}

void expectRect(CGRect actual, CGRect expected) {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, 1e-9) << NSStringFromCGRect(actual);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, 1e-9) << NSStringFromCGRect(actual);
    EXPECT_NEAR(actual.size.width, expected.size.width, 1e-9) << NSStringFromCGRect(actual);
    EXPECT_NEAR(actual.size.height, expected.size.height, 1e-9) << NSStringFromCGRect(actual);
}

TEST(MixTemplateLayoutTest, FileNamesSpellTheCountAndStyle) {
    struct Case {
        long style, count;
        const char* name;
    };
    const Case cases[] = {
        {1, 2, "number_two_style_1.plist"},  {3, 3, "number_three_style_3.plist"},
        {4, 4, "number_four_style_4.plist"}, {6, 5, "number_five_style_6.plist"},
        {1, 1, "number__style_1.plist"},     {2, 6, "number__style_2.plist"},
        {0, 2, "number_two_style_.plist"},   {7, 5, "number_five_style_.plist"},
        {-1, -3, "number__style_.plist"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MixTemplateLayout::fileNameWithStyleIndexImageCount(c.style, c.count), c.name);
    }
}

TEST(MixTemplateLayoutTest, ScalingDividesByAPositiveScaleOnly) {
    EXPECT_EQ(MixTemplateLayout::sizeScaleWithSizeScale(CGSizeMake(640, 960), 2),
              CGSizeMake(320, 480));
    EXPECT_EQ(MixTemplateLayout::pointScaleWithPointScale(CGPointMake(9, 3), 3), CGPointMake(3, 1));
    EXPECT_EQ(MixTemplateLayout::rectScaleWithRectScale(CGRectMake(2, 4, 6, 8), 2),
              CGRectMake(1, 2, 3, 4));
    for (CGFloat scale : {0.0, -2.0, std::nan("")}) {
        EXPECT_EQ(MixTemplateLayout::rectScaleWithRectScale(CGRectMake(2, 4, 6, 8), scale),
                  CGRectMake(2, 4, 6, 8));
    }
}

TEST(MixTemplateLayoutTest, CanvasIsStretchedIntoTheArea) {
    // A 640 x 960 canvas in a 320 x 400 area: the template point (320, 480) lands on
    // (160, 200). The second cell is a two-point entry: a rectangle spanning its points.
    auto layout = layoutOf("{640, 960}", {{"{0, 0}", "{320, 480}"}, {"{320, 480}", "{640, 960}"}});
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->canvasSize(), CGSizeMake(320, 480));
    auto cells = layout->cellsWithAreaSizePhotoCount(CGSizeMake(320, 400), 2);
    ASSERT_EQ(cells.size(), 2u);
    expectRect(cells[0].frame(), CGRectMake(0, 0, 160, 200));
    expectRect(cells[1].frame(), CGRectMake(160, 200, 160, 200));
    ASSERT_TRUE(cells[1].realCellArea());
    expectRect(cells[1].realCellArea()->bounds(), CGRectMake(0, 0, 160, 200));
    EXPECT_TRUE(cells[1].containsPoint(CGPointMake(1, 1)));
    EXPECT_TRUE(cells[1].containsPoint(CGPointMake(159, 199)));
    EXPECT_FALSE(cells[1].containsPoint(CGPointMake(161, 100)));
}

TEST(MixTemplateLayoutTest, TriangleCellIsItsBoundingBoxMaskedToTheTriangle) {
    // Canvas 640 x 960 in an area of 320 x 480: template units are exactly halved.
    auto layout = layoutOf("{640, 960}", {{"{100, 100}", "{500, 100}", "{100, 700}"}});
    ASSERT_TRUE(layout);
    auto cells = layout->cellsWithAreaSizePhotoCount(CGSizeMake(320, 480), 1);
    ASSERT_EQ(cells.size(), 1u);
    expectRect(cells[0].frame(), CGRectMake(50, 50, 200, 300));
    // The mask is in the cell's own coordinates.
    ASSERT_TRUE(cells[0].realCellArea());
    expectRect(cells[0].realCellArea()->bounds(), CGRectMake(0, 0, 200, 300));
    EXPECT_TRUE(cells[0].containsPoint(CGPointMake(10, 10)));
    EXPECT_TRUE(cells[0].containsPoint(CGPointMake(90, 150)));
    EXPECT_FALSE(cells[0].containsPoint(CGPointMake(190, 280))); // in the box, past the diagonal
    EXPECT_FALSE(cells[0].containsPoint(CGPointMake(110, 160)));
}

TEST(MixTemplateLayoutTest, OnlyAsManyCellsAsPhotosAreLaidOut) {
    auto layout = layoutOf(
        "{300, 300}",
        {{"{0, 0}", "{100, 300}"}, {"{100, 0}", "{200, 300}"}, {"{200, 0}", "{300, 300}"}});
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->cellCount(), 3u);
    CapturedLog log;
    auto cells = layout->cellsWithAreaSizePhotoCount(CGSizeMake(150, 150), 2);
    ASSERT_EQ(cells.size(), 2u);
    expectRect(cells[1].frame(), CGRectMake(50, 0, 50, 150));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("3 cells for 2 photos"), std::string::npos) << log.lines()[0];
    EXPECT_TRUE(layout->cellsWithAreaSizePhotoCount(CGSizeMake(150, 150), 0).empty());
    EXPECT_EQ(layout->cellsWithAreaSizePhotoCount(CGSizeMake(150, 150), 5).size(), 3u);
}

// Faults in a layout file: nothing crashes or divides by zero, the fault is logged, and
// whatever can still be laid out is.
TEST(MixTemplateLayoutTest, BadFilesAreLoggedAndShowWhatTheyCan) {
    auto write = [](const PlistValue& value) {
        auto data = NSPropertyListSerialization::dataWithPropertyList(
            value, NSPropertyListFormat::XML, nullptr);
        return std::string(data->begin(), data->end());
    };
    PlistValue::Dictionary noCanvas = *layoutList("{10, 10}", {}).dictionary();
    noCanvas.erase("SuperViewInfo");
    PlistValue::Dictionary noCells = *layoutList("{10, 10}", {}).dictionary();
    noCells.erase("SubViewArray");
    PlistValue::Dictionary oddEntries = *layoutList("{200, 200}", {}).dictionary();
    oddEntries["SubViewArray"] = PlistValue::Array{
        PlistValue("not a cell"), PlistValue::Dictionary{{"pointArray", "{0, 0}"}},
        PlistValue::Dictionary{{"frame", "{{0, 0}, {10, 10}}"}}};

    struct Case {
        const char* what;
        std::string contents; // empty: no file at all
        bool readable;
        std::vector<CGRect> frames; // laid out in a 100 x 100 area for five photos
        const char* logged;
    };
    const Case cases[] = {
        {"missing file", "", false, {}, "cannot be read"},
        {"damaged file", "<?xml version=\"1.0\"?><plist><dict><key>", false, {}, "cannot be read"},
        {"root is an array",
         write(PlistValue::Array{PlistValue("{1, 1}")}),
         false,
         {},
         "root is not a dictionary"},
        {"no canvas", write(noCanvas), false, {}, "no usable canvas size"},
        {"zero canvas",
         write(layoutList("{0, 0}", {{"{0, 0}", "{1, 1}"}})),
         false,
         {},
         "no usable canvas size"},
        {"zero height",
         write(layoutList("{640, 0}", {{"{0, 0}", "{1, 1}"}})),
         false,
         {},
         "no usable canvas size"},
        {"negative canvas",
         write(layoutList("{-640, 960}", {})),
         false,
         {},
         "no usable canvas size"},
        {"unreadable canvas", write(layoutList("big", {})), false, {}, "no usable canvas size"},
        {"no cell list", write(noCells), true, {}, "no cell list"},
        {"unparseable point counts as the origin",
         write(layoutList("{200, 200}", {{"{100, 100}", "{x, 1}", "{200, 200}"}})),
         true,
         {CGRectMake(0, 0, 100, 100)},
         "point 1 \"{x, 1}\" is not a point"},
        {"negative point",
         write(layoutList("{200, 200}", {{"{50, 50}", "{-5, 100}"}})),
         true,
         {CGRectMake(0, 0, 25, 25)},
         "is not a point"},
        {"entries without a point list show nothing",
         write(oddEntries),
         true,
         {CGRectZero, CGRectZero, CGRectZero},
         "has no point list"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        std::string path = c.contents.empty()
                               ? folder.file("number_two_style_1.plist")
                               : folder.write("number_two_style_1.plist", c.contents);
        CapturedLog log;
        auto layout = MixTemplateLayout::layoutWithContentsOfFile(path);
        ASSERT_EQ(layout != nullptr, c.readable);
        if (layout) {
            auto cells = layout->cellsWithAreaSizePhotoCount(CGSizeMake(100, 100), 5);
            ASSERT_EQ(cells.size(), c.frames.size());
            for (size_t i = 0; i < cells.size(); ++i) {
                expectRect(cells[i].frame(), c.frames[i]);
                if (cells[i].frame().size.width == 0) {
                    EXPECT_FALSE(cells[i].containsPoint(CGPointZero));
                }
            }
        }
        bool found = false;
        for (const std::string& line : log.lines()) {
            found = found || line.find(c.logged) != std::string::npos;
            EXPECT_NE(line.find("number_two_style_1.plist"), std::string::npos) << line;
        }
        EXPECT_TRUE(found) << "expected a line with: " << c.logged;
    }
}

// Every shipped layout reads cleanly, has a cell per photo inside the canvas, and its cells
// tile the collage: each spot of the area belongs to exactly one cell. Each has its style
// thumbnail.
TEST(MixTemplateLayoutTest, OutOfRangeCountsAndStylesHaveNoFile) {
    TestHome home;
    const std::pair<long, long> cases[] = {{7, 5}, {0, 3}, {1, 1}, {0, 2}, {1, 6}, {-1, 3}};
    for (const auto& [style, count] : cases) {
        SCOPED_TRACE(std::to_string(style) + " " + std::to_string(count));
        CapturedLog log;
        EXPECT_FALSE(MixTemplateLayout::layoutWithStyleIndexImageCount(style, count));
        EXPECT_FALSE(log.lines().empty());
    }
}

TEST(MixTemplateLayoutTest, ShippedLayoutsTileTheCanvas) {
    TestHome home;
    int slanted = 0; // cells whose outline is not their bounding rectangle
    for (long count = MixTemplateLayout::kMinimumImageCount;
         count <= MixTemplateLayout::kMaximumImageCount; ++count) {
        for (long style = 1; style <= MixTemplateLayout::kStyleCount; ++style) {
            SCOPED_TRACE(MixTemplateLayout::fileNameWithStyleIndexImageCount(style, count));
            CapturedLog log;
            auto layout = MixTemplateLayout::layoutWithStyleIndexImageCount(style, count);
            ASSERT_TRUE(layout);
            EXPECT_EQ(layout->cellCount(), static_cast<size_t>(count));
            CGSize area = CGSizeMake(300, 400);
            auto cells = layout->cellsWithAreaSizePhotoCount(area, static_cast<size_t>(count));
            EXPECT_TRUE(log.lines().empty()) << log.lines().front();
            for (const MixTemplateCell& cell : cells) {
                ASSERT_TRUE(cell.realCellArea());
                CGRect frame = cell.frame();
                EXPECT_GT(frame.size.width, 30);
                EXPECT_GT(frame.size.height, 30);
                EXPECT_GE(frame.origin.x, -1e-9);
                EXPECT_GE(frame.origin.y, -1e-9);
                EXPECT_LE(CGRectGetMaxX(frame), area.width + 1e-9);
                EXPECT_LE(CGRectGetMaxY(frame), area.height + 1e-9);
            }
            int samples = 0, singlyCovered = 0;
            for (double y = 1.5; y < area.height; y += 7) {
                for (double x = 1.5; x < area.width; x += 7) {
                    int covering = 0;
                    for (const MixTemplateCell& cell : cells) {
                        CGPoint local =
                            CGPointMake(x - cell.frame().origin.x, y - cell.frame().origin.y);
                        covering += cell.containsPoint(local) ? 1 : 0;
                    }
                    ++samples;
                    singlyCovered += covering == 1 ? 1 : 0;
                }
            }
            EXPECT_GE(singlyCovered, samples * 99 / 100);
            for (const MixTemplateCell& cell : cells) {
                CGRect box = CGRectMake(0, 0, cell.frame().size.width, cell.frame().size.height);
                CGPoint corners[] = {{1, 1},
                                     {box.size.width - 1, 1},
                                     {1, box.size.height - 1},
                                     {box.size.width - 1, box.size.height - 1}};
                for (const CGPoint& corner : corners) {
                    if (!cell.containsPoint(corner)) {
                        ++slanted;
                        break;
                    }
                }
            }
            auto thumbnail = UIImage::imageNamed(
                NSString::stringWithFormat("makecards_puzzle%ld_storyboard%ld_icon", count, style));
            ASSERT_TRUE(thumbnail);
            EXPECT_EQ(thumbnail->size(), CGSizeMake(90, 90));
        }
    }
    // Real collages, not only grids: diagonal and polygonal cells in many styles.
    EXPECT_GE(slanted, 20);
}
} // namespace
