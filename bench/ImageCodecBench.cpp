// Decoding and encoding photo-sized images: the costs behind opening a library photo,
// showing it at screen size and saving a collage.
#include "bench/PhotoLikeImage.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"

#include <benchmark/benchmark.h>

namespace {

const CGImageRef& image12MP() {
    static const CGImageRef image = photoLikeImage(4000, 3000);
    return image;
}
const std::vector<uint8_t>& jpeg12MP() {
    static const auto bytes = JPEGCodec::encode(image12MP(), 0.9).value();
    return bytes;
}
const std::vector<uint8_t>& progressiveJpeg18MP() {
    static const auto bytes = photoLikeJpeg(5184, 3456, true);
    return bytes;
}
const std::vector<uint8_t>& png12MP() {
    static const auto bytes = PNGCodec::encode(image12MP()).value();
    return bytes;
}

void reportImage(benchmark::State& state, const CGImageRef& image, size_t fileBytes) {
    state.counters["width"] = image ? double(image->width()) : 0;
    state.counters["height"] = image ? double(image->height()) : 0;
    state.counters["fileMB"] = double(fileBytes) / 1e6;
}

void JPEGDecode12MP(benchmark::State& state) {
    const auto& bytes = jpeg12MP();
    CGImageRef image;
    for (auto _ : state) {
        image = JPEGCodec::decode(bytes.data(), bytes.size()).value();
        benchmark::DoNotOptimize(image);
    }
    reportImage(state, image, bytes.size());
}

void JPEGEncode12MP(benchmark::State& state) {
    const auto& image = image12MP();
    size_t size = 0;
    for (auto _ : state) {
        auto bytes = JPEGCodec::encode(image, 0.9).value();
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    reportImage(state, image, size);
}

void PNGDecode12MP(benchmark::State& state) {
    const auto& bytes = png12MP();
    CGImageRef image;
    for (auto _ : state) {
        image = PNGCodec::decode(bytes.data(), bytes.size()).value();
        benchmark::DoNotOptimize(image);
    }
    reportImage(state, image, bytes.size());
}

void PNGEncode12MP(benchmark::State& state) {
    const auto& image = image12MP();
    size_t size = 0;
    for (auto _ : state) {
        auto bytes = PNGCodec::encode(image).value();
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    reportImage(state, image, size);
}

// The whole photo covering a 2x screen of 375 x 667 points (landscape, so 1334 high).
template <const std::vector<uint8_t>& (*file)(), size_t width, size_t height>
void JPEGDecodeToScreen(benchmark::State& state) {
    const auto& bytes = file();
    const size_t screenWidth = (width * 1334 + height / 2) / height;
    CGImageRef image;
    for (auto _ : state) {
        image = JPEGCodec::decodeToSize(bytes.data(), bytes.size(),
                                        CGRectMake(0, 0, double(width), double(height)),
                                        screenWidth, 1334)
                    .value();
        benchmark::DoNotOptimize(image);
    }
    reportImage(state, image, bytes.size());
}

} // namespace

BENCHMARK(JPEGDecode12MP)->Unit(benchmark::kMillisecond);
BENCHMARK(JPEGEncode12MP)->Unit(benchmark::kMillisecond);
BENCHMARK(PNGDecode12MP)->Unit(benchmark::kMillisecond);
BENCHMARK(PNGEncode12MP)->Unit(benchmark::kMillisecond);
BENCHMARK(JPEGDecodeToScreen<jpeg12MP, 4000, 3000>)
    ->Name("JPEGDecode12MPToScreen")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(JPEGDecodeToScreen<progressiveJpeg18MP, 5184, 3456>)
    ->Name("JPEGDecode18MPProgressiveToScreen")
    ->Unit(benchmark::kMillisecond);
