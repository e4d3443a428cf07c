#include "tests/support/ImageFixtures.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

void putBigEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * (size - 1 - i)));
    }
}

uint32_t crc32Of(const uint8_t* data, size_t size) {
    uint32_t crc = 0xffffffffu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

} // namespace

CGImageRef makeImage(size_t width, size_t height, CGImagePixelFormat format,
                     const std::function<uint32_t(size_t x, size_t y)>& pixel, size_t padding) {
    const size_t pixelSize = format == CGImagePixelFormat::Gray8 ? 1 : 4;
    const size_t stride = width * pixelSize + padding;
    std::vector<uint8_t> bytes(stride * height, 0xee);
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            const uint32_t value = pixel(x, y);
            if (pixelSize == 1) {
                bytes[y * stride + x] = static_cast<uint8_t>(value);
            } else {
                std::memcpy(&bytes[y * stride + x * 4], &value, 4);
            }
        }
    }
    return CGImage::create(width, height, format, stride, std::move(bytes));
}

std::vector<uint32_t> pixelsOf(const CGImage& image) {
    std::vector<uint32_t> pixels;
    for (size_t y = 0; y < image.height(); ++y) {
        for (size_t x = 0; x < image.width(); ++x) {
            pixels.push_back(image.pixelAt(x, y));
        }
    }
    return pixels;
}

std::vector<uint8_t> exifBlock(bool bigEndian, uint16_t orientation, const std::string& dateTime,
                               const std::string& dateTimeOriginal) {
    std::vector<uint8_t> tiff;
    auto put = [&](size_t at, uint32_t value, int size) {
        if (tiff.size() < at + size) {
            tiff.resize(at + size);
        }
        for (int i = 0; i < size; ++i) {
            tiff[at + i] =
                static_cast<uint8_t>(bigEndian ? value >> (8 * (size - 1 - i)) : value >> (8 * i));
        }
    };
    tiff = {uint8_t(bigEndian ? 'M' : 'I'), uint8_t(bigEndian ? 'M' : 'I')};
    put(2, 42, 2);
    put(4, 8, 4);

    struct Entry {
        uint16_t tag, type;
        uint32_t count, value;
        std::string text;
    };
    std::vector<Entry> ifd0, exifIfd;
    if (orientation) {
        ifd0.push_back({0x0112, 3, 1, orientation, ""});
    }
    if (!dateTime.empty()) {
        ifd0.push_back({0x0132, 2, uint32_t(dateTime.size() + 1), 0, dateTime});
    }
    if (!dateTimeOriginal.empty()) {
        exifIfd.push_back({0x9003, 2, uint32_t(dateTimeOriginal.size() + 1), 0, dateTimeOriginal});
        ifd0.push_back({0x8769, 4, 1, 0, ""});
    }
    auto ifdSize = [](const std::vector<Entry>& ifd) { return 2 + 12 * ifd.size() + 4; };
    const size_t exifIfdAt = 8 + ifdSize(ifd0);
    size_t dataAt = exifIfdAt + (exifIfd.empty() ? 0 : ifdSize(exifIfd));
    auto writeIfd = [&](size_t at, std::vector<Entry>& ifd) {
        put(at, uint32_t(ifd.size()), 2);
        for (size_t i = 0; i < ifd.size(); ++i) {
            Entry& entry = ifd[i];
            const size_t field = at + 2 + 12 * i;
            put(field, entry.tag, 2);
            put(field + 2, entry.type, 2);
            put(field + 4, entry.count, 4);
            if (entry.tag == 0x8769) {
                put(field + 8, uint32_t(exifIfdAt), 4);
            } else if (entry.type == 2) {
                put(field + 8, uint32_t(dataAt), 4);
                tiff.resize(std::max(tiff.size(), dataAt + entry.count));
                std::memcpy(&tiff[dataAt], entry.text.c_str(), entry.count);
                dataAt += entry.count;
            } else {
                put(field + 8, entry.value, 2); // a short sits at the field's start
            }
        }
        put(at + 2 + 12 * ifd.size(), 0, 4);
    };
    writeIfd(8, ifd0);
    if (!exifIfd.empty()) {
        writeIfd(exifIfdAt, exifIfd);
    }
    std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), tiff.begin(), tiff.end());
    return block;
}

std::vector<uint8_t> withExif(std::vector<uint8_t> jpeg, const std::vector<uint8_t>& exif) {
    std::vector<uint8_t> segment = {0xff, 0xe1, 0, 0};
    putBigEndian(segment, 2, uint32_t(exif.size() + 2), 2);
    segment.insert(segment.end(), exif.begin(), exif.end());
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

std::vector<uint8_t> pngWithSize(std::vector<uint8_t> png, uint32_t width, uint32_t height) {
    // Signature (8), IHDR length (4), "IHDR" (4), width, height ... 13 bytes, then the CRC
    // over type and data.
    EXPECT_EQ(std::memcmp(&png[12], "IHDR", 4), 0);
    putBigEndian(png, 16, width, 4);
    putBigEndian(png, 20, height, 4);
    putBigEndian(png, 29, crc32Of(&png[12], 17), 4);
    return png;
}

std::vector<uint8_t> jpegWithSize(std::vector<uint8_t> jpeg, uint16_t width, uint16_t height) {
    // FF C0 (baseline frame), length (2), precision (1), height (2), width (2).
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xff && jpeg[i + 1] == 0xc0) {
            putBigEndian(jpeg, i + 5, height, 2);
            putBigEndian(jpeg, i + 7, width, 2);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

std::vector<uint8_t> writeJpeg(JDIMENSION width, JDIMENSION height, J_COLOR_SPACE input,
                               int components, J_COLOR_SPACE file, bool adobeMarker,
                               std::vector<uint8_t> samples,
                               const std::vector<jpeg_scan_info>& scans) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = input;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, file);
    info.write_Adobe_marker = adobeMarker;
    jpeg_set_quality(&info, 95, TRUE);
    if (!scans.empty()) {
        info.scan_info = scans.data();
        info.num_scans = int(scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < height) {
        JSAMPROW row = samples.data() + info.next_scanline * width * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}
