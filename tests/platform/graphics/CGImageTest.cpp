#include "platform/graphics/CGImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// Both ways of handing over pixels keep to the same size checks and show the same bytes.
TEST(CGImage, TakesPixelsFromAVectorOrAnArrayOnlyWhenTheyHoldEveryRow) {
    struct Case {
        const char* name;
        size_t width, height, bytesPerRow, bytes;
        bool made;
    } cases[] = {
        {"exact", 2, 2, 8, 16, true},         {"padded rows", 2, 2, 12, 24, true},
        {"a byte short", 2, 2, 8, 15, false}, {"rows narrower than pixels", 2, 2, 7, 16, false},
        {"no pixels", 0, 2, 8, 16, false},    {"nothing to hold them", 2, 2, 8, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> vector(c.bytes);
        for (size_t i = 0; i < c.bytes; ++i) {
            vector[i] = static_cast<uint8_t>(i + 1);
        }
        auto array = c.bytes ? std::make_unique<uint8_t[]>(c.bytes) : nullptr;
        if (array) {
            std::memcpy(array.get(), vector.data(), c.bytes);
        }
        const auto fromVector =
            CGImage::create(c.width, c.height, CGImagePixelFormat::RGB24, c.bytesPerRow, vector);
        const auto fromArray = CGImage::create(c.width, c.height, CGImagePixelFormat::RGB24,
                                               c.bytesPerRow, std::move(array), c.bytes);
        EXPECT_EQ(fromVector != nullptr, c.made);
        EXPECT_EQ(fromArray != nullptr, c.made);
        if (fromVector && fromArray) {
            EXPECT_EQ(std::memcmp(fromVector->data(), fromArray->data(), c.bytes), 0);
            // Row 1's first pixel, the skipped byte read as opaque.
            EXPECT_EQ(fromArray->pixelAt(0, 1),
                      0xff000000u | uint32_t(vector[c.bytesPerRow + 2]) << 16 |
                          uint32_t(vector[c.bytesPerRow + 1]) << 8 | vector[c.bytesPerRow]);
        }
    }
}

} // namespace
