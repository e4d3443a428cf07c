#include "platform/graphics/PNGCodec.h"

#include "platform/graphics/ImageDecoder.h"

#include <bit>
#include <png.h>

// libpng's simplified API keeps its setjmp/longjmp error handling inside the library, so
// no jump ever crosses our frames.

namespace {

constexpr bool littleEndian = std::endian::native == std::endian::little;
// Memory order of an ARGB32 pixel held as a native 32-bit value.
constexpr png_uint_32 nativeARGBFormat = littleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
// Byte offsets of the channels inside a native ARGB32 pixel.
constexpr int blueAt = littleEndian ? 0 : 3;
constexpr int greenAt = littleEndian ? 1 : 2;
constexpr int redAt = littleEndian ? 2 : 1;
constexpr int alphaAt = littleEndian ? 3 : 0;

void fail(std::string* error, const std::string& message) {
    if (error) {
        *error = message;
    }
}

void premultiply(std::vector<uint8_t>& pixels) {
    for (size_t i = 0; i + 4 <= pixels.size(); i += 4) {
        unsigned alpha = pixels[i + alphaAt];
        if (alpha == 255) {
            continue;
        }
        for (int channel : {blueAt, greenAt, redAt}) {
            pixels[i + channel] = static_cast<uint8_t>((pixels[i + channel] * alpha + 127) / 255);
        }
    }
}

uint8_t unpremultiplied(unsigned value, unsigned alpha) {
    if (alpha == 0) {
        return 0;
    }
    unsigned straight = (value * 255 + alpha / 2) / alpha;
    return static_cast<uint8_t>(straight > 255 ? 255 : straight);
}

// The image's pixels in one of the simplified API's 8-bit formats, tightly packed.
std::vector<uint8_t> packedSamples(const CGImage& image, png_uint_32 format) {
    const size_t width = image.width();
    const size_t channels = PNG_IMAGE_PIXEL_CHANNELS(format);
    std::vector<uint8_t> out(width * image.height() * channels);
    uint8_t* target = out.data();
    for (size_t y = 0; y < image.height(); ++y) {
        const uint8_t* row = image.data() + y * image.bytesPerRow();
        if (format == PNG_FORMAT_GRAY) {
            std::copy(row, row + width, target);
            target += width;
            continue;
        }
        for (size_t x = 0; x < width; ++x, row += 4, target += channels) {
            unsigned alpha = format == PNG_FORMAT_RGBA ? row[alphaAt] : 255;
            target[0] = unpremultiplied(row[redAt], alpha);
            target[1] = unpremultiplied(row[greenAt], alpha);
            target[2] = unpremultiplied(row[blueAt], alpha);
            if (format == PNG_FORMAT_RGBA) {
                target[3] = static_cast<uint8_t>(alpha);
            }
        }
    }
    return out;
}

} // namespace

CGImageRef PNGCodec::decode(const uint8_t* data, size_t size, std::string* error) {
    if (size == 0) {
        fail(error, "empty data");
        return nullptr;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        fail(error, image.message);
        return nullptr;
    }
    if (uint64_t(image.width) * image.height > ImageDecoder::maxPixels) {
        png_image_free(&image);
        fail(error, "image too large");
        return nullptr;
    }
    // 16-bit files without gamma information are far more often sRGB than linear.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    image.format = nativeARGBFormat;
    const size_t bytesPerRow = size_t(image.width) * 4;
    std::vector<uint8_t> pixels(bytesPerRow * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), static_cast<png_int_32>(bytesPerRow),
                               nullptr)) {
        fail(error, image.message);
        return nullptr;
    }
    premultiply(pixels);
    return CGImage::create(image.width, image.height, CGImagePixelFormat::ARGB32Premultiplied,
                           bytesPerRow, std::move(pixels));
}

std::optional<std::vector<uint8_t>> PNGCodec::encode(const CGImageRef& source, std::string* error) {
    if (!source) {
        fail(error, "no image");
        return std::nullopt;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(source->width());
    image.height = static_cast<png_uint_32>(source->height());
    switch (source->format()) {
    case CGImagePixelFormat::ARGB32Premultiplied:
        image.format = PNG_FORMAT_RGBA;
        break;
    case CGImagePixelFormat::RGB24:
        image.format = PNG_FORMAT_RGB;
        break;
    case CGImagePixelFormat::Gray8:
        image.format = PNG_FORMAT_GRAY;
        break;
    }
    const std::vector<uint8_t> samples = packedSamples(*source, image.format);
    std::vector<uint8_t> out(PNG_IMAGE_PNG_SIZE_MAX(image));
    png_alloc_size_t written = out.size();
    if (!png_image_write_to_memory(&image, out.data(), &written, 0, samples.data(), 0, nullptr)) {
        fail(error, image.message);
        return std::nullopt;
    }
    out.resize(written);
    return out;
}
