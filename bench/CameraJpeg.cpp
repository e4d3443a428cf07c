#include "bench/CameraJpeg.h"

#include "bench/PhotoLikeImage.h"
#include "platform/graphics/JPEGCodec.h"

#include <cstdlib>
#include <cstring>
#include <libexif/exif-data.h>

std::vector<uint8_t> cameraJpeg(size_t width, size_t height, const std::string& dateTimeOriginal) {
    auto jpeg = JPEGCodec::encode(photoLikeImage(width, height), 0.85).value();
    const auto preview = JPEGCodec::encode(photoLikeImage(160, 120), 0.8).value();

    ExifData* exif = exif_data_new();
    exif_data_set_byte_order(exif, EXIF_BYTE_ORDER_INTEL);
    ExifEntry* date = exif_entry_new();
    exif_content_add_entry(exif->ifd[EXIF_IFD_EXIF], date);
    exif_entry_initialize(date, EXIF_TAG_DATE_TIME_ORIGINAL);
    std::memcpy(date->data, dateTimeOriginal.c_str(),
                std::min<size_t>(date->size, dateTimeOriginal.size() + 1));
    exif_entry_unref(date);
    // libexif frees the preview with the block.
    exif->data = static_cast<unsigned char*>(std::malloc(preview.size()));
    std::memcpy(exif->data, preview.data(), preview.size());
    exif->size = static_cast<unsigned int>(preview.size());
    unsigned char* block = nullptr;
    unsigned int size = 0;
    exif_data_save_data(exif, &block, &size);
    exif_data_unref(exif);

    // The block (it starts "Exif\0\0") as an APP1 segment right after the start marker.
    std::vector<uint8_t> segment = {0xff, 0xe1, uint8_t((size + 2) >> 8), uint8_t(size + 2)};
    segment.insert(segment.end(), block, block + size);
    std::free(block);
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}
