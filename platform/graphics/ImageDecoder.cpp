#include "platform/graphics/ImageDecoder.h"

#include <cstring>

ImageFileType ImageDecoder::sniff(const uint8_t* data, size_t size) {
    static constexpr uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    static constexpr uint8_t jpeg[] = {0xff, 0xd8, 0xff};
    if (size >= sizeof png && std::memcmp(data, png, sizeof png) == 0) {
        return ImageFileType::PNG;
    }
    if (size >= sizeof jpeg && std::memcmp(data, jpeg, sizeof jpeg) == 0) {
        return ImageFileType::JPEG;
    }
    return ImageFileType::Unknown;
}
