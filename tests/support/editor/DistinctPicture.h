// A picture whose pixels all differ, for following pixels through a tool's work: opaque,
// red the column and green the row (so distinct up to 256 a side), blue a constant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class UIImage;

uint32_t distinctColourAt(size_t x, size_t y);
std::shared_ptr<UIImage> distinctPicture(size_t width, size_t height);
