#include "platform/graphics/PNGCodec.h"

#include "platform/graphics/ImageCodecError.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/graphics/RowResampler.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <optional>
#include <png.h>

// Both directions use libpng's classic API: reading for its rows one at a time (so that a
// picture is scaled while it is read, never held whole), writing for its compression
// settings. Its errors jump back to the setjmp in readRows or writeRows, and what outlives
// a jump (the pixels, the output, the message) lives in the caller's frame.

namespace {

constexpr bool littleEndian = std::endian::native == std::endian::little;
// Byte offsets of the channels inside a native ARGB32 pixel.
constexpr int blueAt = littleEndian ? 0 : 3;
constexpr int greenAt = littleEndian ? 1 : 2;
constexpr int redAt = littleEndian ? 2 : 1;
constexpr int alphaAt = littleEndian ? 3 : 0;

void premultiply(uint8_t* pixels, size_t count) {
    for (size_t i = 0; i < count * 4; i += 4) {
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

std::shared_ptr<NSError> damaged(const char* reason) {
    return makeError(ImageCodecErrorDomain, ImageCodecErrorDamagedFile, reason);
}

// What a decode is to give: the whole picture, or a part of it at a size.
struct Target {
    bool whole = true;
    CGRect source;
    size_t width = 0;
    size_t height = 0;
};

struct ReadJob {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t at = 0;
    std::optional<RowResampler> resampler;
    // One row as the library delivers it, for an interlaced file's passes.
    std::vector<uint8_t> row;
    char message[256] = "cannot create a PNG reader";
    long code = ImageCodecErrorDamagedFile;
};

void ignoreWarning(png_structp, png_const_charp) {}

[[noreturn]] void onReadError(png_structp png, png_const_charp message) {
    auto* job = static_cast<ReadJob*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", message);
    png_longjmp(png, 1);
}

void takeBytes(png_structp png, png_bytep data, size_t size) {
    auto* job = static_cast<ReadJob*>(png_get_io_ptr(png));
    if (size > job->size - job->at) {
        png_error(png, "file cut short");
    }
    std::memcpy(data, job->data + job->at, size);
    job->at += size;
}

[[noreturn]] void refuse(png_structp png, ReadJob& job, long code, const char* message) {
    job.code = code;
    std::snprintf(job.message, sizeof job.message, "%s", message);
    png_longjmp(png, 1);
}

// The length of all IDAT chunks, read from the chunk headers (a damaged list ends the sum;
// the decoder reports it).
uint64_t compressedPixelBytes(const uint8_t* data, size_t size) {
    uint64_t total = 0;
    for (size_t at = 8; at + 8 <= size;) {
        const uint32_t length = uint32_t(data[at]) << 24 | uint32_t(data[at + 1]) << 16 |
                                uint32_t(data[at + 2]) << 8 | data[at + 3];
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0) {
            total += std::min<uint64_t>(length, size - at - 8);
        }
        at += 12 + size_t(length);
    }
    return total;
}

// Any colour type and depth as 8-bit straight-alpha native ARGB32; 16-bit samples without
// gamma information are taken as sRGB, being far more often that than linear.
void setUpTransforms(png_structp png, png_infop info) {
    png_set_expand(png); // palettes, low depths and tRNS to full samples with alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    if (double fileGamma = 0; png_get_gAMA(png, info, &fileGamma)) {
        png_set_gamma(png, PNG_DEFAULT_sRGB, fileGamma);
    }
    if constexpr (littleEndian) {
        png_set_bgr(png);
        png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    } else {
        png_set_add_alpha(png, 0xff, PNG_FILLER_BEFORE);
        png_set_swap_alpha(png);
    }
}

void readRows(png_structp png, png_infop info, ReadJob& job, const Target& target) {
    png_set_read_fn(png, &job, takeBytes);
    png_read_info(png, info);
    const size_t width = png_get_image_width(png, info);
    const size_t height = png_get_image_height(png, info);
    const size_t resultWidth = target.whole ? width : target.width;
    const size_t resultHeight = target.whole ? height : target.height;
    if (uint64_t(width) * height > ImageDecoder::maxPixels || resultWidth > CGImage::maxSide ||
        resultHeight > CGImage::maxSide) {
        refuse(png, job, ImageCodecErrorTooLarge, "image too large");
    }
    // Deflate shrinks data by 1032 times at most; refusing a file whose pixel data is less
    // than that share of its rows spares a result of the claimed size.
    const uint64_t rowBytes = png_get_rowbytes(png, info);
    if (compressedPixelBytes(job.data, job.size) * 1032 < (rowBytes + 1) * height) {
        refuse(png, job, ImageCodecErrorDamagedFile,
               "far less data than the size in the header needs");
    }
    setUpTransforms(png, info);
    // The library's own interlace handling would need every row kept until the last pass;
    // taken pass by pass, each pixel goes straight to where it counts in the result.
    const bool interlaced = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != width * 4) {
        refuse(png, job, ImageCodecErrorDamagedFile, "unexpected row layout");
    }
    job.resampler = RowResampler::create(
        width, height,
        target.whole ? CGRectMake(0, 0, double(width), double(height)) : target.source, resultWidth,
        resultHeight, CGImagePixelFormat::ARGB32Premultiplied);
    if (!job.resampler) {
        refuse(png, job, ImageCodecErrorNoImage, "nothing to decode to");
    }
    RowResampler& resampler = *job.resampler;
    if (interlaced) {
        // The library fills a whole row's width, of which a pass uses its own columns.
        job.row.resize(width * 4);
        for (int pass = 0; pass < PNG_INTERLACE_ADAM7_PASSES; ++pass) {
            const size_t rows = PNG_PASS_ROWS(height, pass);
            const size_t columns = PNG_PASS_COLS(width, pass);
            if (rows == 0 || columns == 0) {
                continue; // a pass without pixels is not in the file
            }
            for (size_t r = 0; r < rows; ++r) {
                png_read_row(png, job.row.data(), nullptr);
                premultiply(job.row.data(), columns);
                resampler.addPixels(PNG_ROW_FROM_PASS_ROW(r, pass), PNG_PASS_START_COL(pass),
                                    PNG_PASS_COL_OFFSET(pass), columns, job.row.data());
            }
        }
        png_read_end(png, nullptr);
        return;
    }
    const size_t first = resampler.firstColumn();
    const size_t count = resampler.columnEnd() - first;
    resampler.deliverColumns(0, width);
    for (size_t y = 0; y < resampler.rowEnd(); ++y) {
        uint8_t* row = resampler.nextRow();
        png_read_row(png, row, nullptr);
        if (y >= resampler.firstRow()) {
            premultiply(row + first * 4, count);
            resampler.addRow();
        }
    }
    // Rows past the part are left unread; a whole picture is read to its end, so that a
    // file cut short there is still refused.
    if (resampler.rowEnd() == height) {
        png_read_end(png, nullptr);
    }
}

ErrorOr<CGImageRef> decodeWith(const uint8_t* data, size_t size, const Target& target,
                               size_t* workingBytes) {
    if (size == 0) {
        return damaged("empty data");
    }
    ReadJob job;
    job.data = data;
    job.size = size;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, onReadError, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return damaged(job.message);
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return makeError(ImageCodecErrorDomain, job.code, job.message);
    }
    readRows(png, info, job, target);
    png_destroy_read_struct(&png, &info, nullptr);
    if (workingBytes) {
        *workingBytes = job.resampler->workingBytes() + job.row.capacity();
    }
    return job.resampler->takeImage();
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

void appendBytes(png_structp png, png_bytep data, size_t size) {
    auto* job = static_cast<WriteJob*>(png_get_io_ptr(png));
    job->bytes.insert(job->bytes.end(), data, data + size);
}

ErrorOr<void> writeRows(const CGImage& image, int colourType, WriteJob& job) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, onWriteError, ignoreWarning);
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

} // namespace

ErrorOr<CGImageRef> PNGCodec::decode(const uint8_t* data, size_t size) {
    return decodeWith(data, size, {}, nullptr);
}

ErrorOr<CGImageRef> PNGCodec::decodeToSize(const uint8_t* data, size_t size, const CGRect& source,
                                           size_t width, size_t height, size_t* workingBytes) {
    return decodeWith(data, size, {false, source, width, height}, workingBytes);
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
