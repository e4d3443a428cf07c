// Small images and image files built in memory for the codec and image tests.
#pragma once

#include "platform/graphics/CGImage.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
// In this order: jpeglib.h needs <cstdio>.
#include <jpeglib.h>

// A width x height image whose pixel (x, y) is `pixel(x, y)`: 0xAARRGGBB (premultiplied)
// for the 32-bit formats, the sample for Gray8. Each row ends with `padding` spare bytes.
CGImageRef makeImage(size_t width, size_t height, CGImagePixelFormat format,
                     const std::function<uint32_t(size_t x, size_t y)>& pixel, size_t padding = 0);
// Every pixel as CGImage::pixelAt reads it, row by row.
std::vector<uint32_t> pixelsOf(const CGImage& image);

// An EXIF block ("Exif\0\0" and a TIFF structure) in either byte order, holding the
// orientation (0: none) and the DateTime and DateTimeOriginal texts (empty: none).
std::vector<uint8_t> exifBlock(bool bigEndian, uint16_t orientation, const std::string& dateTime,
                               const std::string& dateTimeOriginal);
// `jpeg` with `exif` inserted as an APP1 segment right after its start marker.
std::vector<uint8_t> withExif(std::vector<uint8_t> jpeg, const std::vector<uint8_t>& exif);

// `png` with the size in its header replaced (and the header's checksum kept valid).
std::vector<uint8_t> pngWithSize(std::vector<uint8_t> png, uint32_t width, uint32_t height);
// `jpeg` with the size in its frame header replaced.
std::vector<uint8_t> jpegWithSize(std::vector<uint8_t> jpeg, uint16_t width, uint16_t height);

// A JPEG from libjpeg's own writer, for the kinds of file our encoder never writes.
// `samples` holds `components` bytes a pixel in `input` order; `scans` is a progressive
// file's scan script.
std::vector<uint8_t> writeJpeg(JDIMENSION width, JDIMENSION height, J_COLOR_SPACE input,
                               int components, J_COLOR_SPACE file, bool adobeMarker,
                               std::vector<uint8_t> samples,
                               const std::vector<jpeg_scan_info>& scans = {});
