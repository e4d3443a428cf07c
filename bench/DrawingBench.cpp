// Drawing costs at the size of a full phone screen in pixels.
#include "platform/graphics/CGContext.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Fills and strokes a grid of rounded rectangles, as a collage's cells are drawn.
void BM_FillAndStrokeRoundedRects(benchmark::State& state) {
    auto c = CGBitmapContextCreate(nullptr, 750, 1334, 8, 0, CGColorSpaceCreateDeviceRGB(),
                                   kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
    CGContextSetRGBFillColor(c, 0.9, 0.4, 0.2, 1);
    CGContextSetRGBStrokeColor(c, 1, 1, 1, 1);
    CGContextSetLineWidth(c, 4);
    std::vector<CGPathRef> cells;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            auto path = CGPathCreateMutable();
            CGPathAddRoundedRect(path, nullptr,
                                 CGRectMake(10 + column * 245, 10 + row * 330, 235, 320), 24, 24);
            cells.push_back(path);
        }
    }
    for (auto _ : state) {
        for (const auto& cell : cells) {
            CGContextAddPath(c, cell);
            CGContextDrawPath(c, kCGPathFillStroke);
        }
        benchmark::DoNotOptimize(CGBitmapContextGetData(c));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(cells.size()));
}
BENCHMARK(BM_FillAndStrokeRoundedRects)->Unit(benchmark::kMillisecond);

} // namespace
