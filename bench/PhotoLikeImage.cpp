#include "bench/PhotoLikeImage.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// jpeglib.h needs <cstdio> before it.
#include <jpeglib.h>

CGImageRef photoLikeImage(size_t width, size_t height) {
    std::vector<uint8_t> pixels(width * height * 4);
    uint32_t noise = 2463534242u;
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            const int jitter = static_cast<int>(noise % 9) - 4;
            auto channel = [&](size_t value) {
                return static_cast<uint32_t>(std::clamp(static_cast<int>(value) + jitter, 0, 255));
            };
            const uint32_t pixel = 0xff000000u | channel(x * 255 / width) << 16 |
                                   channel(y * 255 / height) << 8 |
                                   channel((x + y) * 255 / (width + height));
            std::memcpy(pixels.data() + (y * width + x) * 4, &pixel, 4);
        }
    }
    return CGImage::create(width, height, CGImagePixelFormat::RGB24, width * 4, std::move(pixels));
}

std::vector<uint8_t> photoLikeJpeg(size_t width, size_t height, bool progressive) {
    const CGImageRef image = photoLikeImage(width, height);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors); // a benchmark fixture: the library's exit is fine
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(image->data() + info.next_scanline * image->bytesPerRow());
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}
