#include "platform/graphics/PNGCodec.h"

#include "platform/graphics/ImageCodecError.h"
#include "platform/graphics/ImageDecoder.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <png.h>

// Reading goes through libpng's simplified API, which keeps its setjmp/longjmp error
// handling inside the library. Writing uses the classic API for its compression settings;
// its errors jump back to the setjmp in writeRows, and what outlives a jump (the output,
// the message) lives in the caller's frame.

namespace {

constexpr bool littleEndian = std::endian::native == std::endian::little;
// Memory order of an ARGB32 pixel held as a native 32-bit value.
constexpr png_uint_32 nativeARGBFormat = littleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
// Byte offsets of the channels inside a native ARGB32 pixel.
constexpr int blueAt = littleEndian ? 0 : 3;
constexpr int greenAt = littleEndian ? 1 : 2;
constexpr int redAt = littleEndian ? 2 : 1;
constexpr int alphaAt = littleEndian ? 3 : 0;

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

// Row `y` of the image as 8-bit PNG samples of `colourType` (grey, RGB or RGBA).
void packRow(const CGImage& image, size_t y, int colourType, uint8_t* target) {
    const uint8_t* row = image.data() + y * image.bytesPerRow();
    if (colourType == PNG_COLOR_TYPE_GRAY) {
        std::copy(row, row + image.width(), target);
        return;
    }
    const bool withAlpha = colourType == PNG_COLOR_TYPE_RGB_ALPHA;
    for (size_t x = 0; x < image.width(); ++x, row += 4) {
        const unsigned alpha = withAlpha ? row[alphaAt] : 255;
        *target++ = unpremultiplied(row[redAt], alpha);
        *target++ = unpremultiplied(row[greenAt], alpha);
        *target++ = unpremultiplied(row[blueAt], alpha);
        if (withAlpha) {
            *target++ = static_cast<uint8_t>(alpha);
        }
    }
}

struct WriteJob {
    std::vector<uint8_t> row;
    std::vector<uint8_t> bytes;
    char message[256] = "cannot create a PNG writer";
};

[[noreturn]] void onWriteError(png_structp png, png_const_charp message) {
    auto* job = static_cast<WriteJob*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", message);
    png_longjmp(png, 1);
}

void onWriteWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, size_t size) {
    auto* job = static_cast<WriteJob*>(png_get_io_ptr(png));
    job->bytes.insert(job->bytes.end(), data, data + size);
}

ErrorOr<void> writeRows(const CGImage& image, int colourType, WriteJob& job) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, onWriteError, onWriteWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return makeError(ImageCodecErrorDomain, ImageCodecErrorEncodeFailed, job.message);
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return makeError(ImageCodecErrorDomain, ImageCodecErrorEncodeFailed, job.message);
    }
    png_set_write_fn(png, &job, appendBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    // On photos zlib's level 3 comes within 2 % of the default level's size in a third of
    // the time.
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (size_t y = 0; y < image.height(); ++y) {
        packRow(image, y, colourType, job.row.data());
        png_write_row(png, job.row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return {};
}

std::shared_ptr<NSError> damaged(const char* reason) {
    return makeError(ImageCodecErrorDomain, ImageCodecErrorDamagedFile, reason);
}

std::shared_ptr<NSError> tooLarge() {
    return makeError(ImageCodecErrorDomain, ImageCodecErrorTooLarge, "image too large");
}

} // namespace

ErrorOr<CGImageRef> PNGCodec::decode(const uint8_t* data, size_t size) {
    if (size == 0) {
        return damaged("empty data");
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        return damaged(image.message);
    }
    if (uint64_t(image.width) * image.height > ImageDecoder::maxPixels) {
        png_image_free(&image);
        return tooLarge();
    }
    // 16-bit files without gamma information are far more often sRGB than linear.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    image.format = nativeARGBFormat;
    const size_t bytesPerRow = size_t(image.width) * 4;
    std::vector<uint8_t> pixels(bytesPerRow * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), static_cast<png_int_32>(bytesPerRow),
                               nullptr)) {
        return damaged(image.message);
    }
    premultiply(pixels);
    auto decoded =
        CGImage::create(image.width, image.height, CGImagePixelFormat::ARGB32Premultiplied,
                        bytesPerRow, std::move(pixels));
    if (!decoded) {
        return tooLarge(); // a side longer than an image can hold
    }
    return decoded;
}

ErrorOr<std::vector<uint8_t>> PNGCodec::encode(const CGImageRef& source) {
    if (!source) {
        return makeError(ImageCodecErrorDomain, ImageCodecErrorNoImage, "no image");
    }
    int colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    size_t channels = 4;
    switch (source->format()) {
    case CGImagePixelFormat::ARGB32Premultiplied:
        break;
    case CGImagePixelFormat::RGB24:
        colourType = PNG_COLOR_TYPE_RGB;
        channels = 3;
        break;
    case CGImagePixelFormat::Gray8:
        colourType = PNG_COLOR_TYPE_GRAY;
        channels = 1;
        break;
    }
    WriteJob job;
    job.row.resize(source->width() * channels);
    if (auto written = writeRows(*source, colourType, job); written.hasError()) {
        return written.error();
    }
    return std::move(job.bytes);
}
