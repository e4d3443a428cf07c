// A photo file as a camera writes it, for the benchmarks that read a library: the
// picture as a JPEG, with an EXIF block holding when it was taken and a 160 x 120
// preview of it (libexif lays the block out).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> cameraJpeg(size_t width, size_t height, const std::string& dateTimeOriginal);
