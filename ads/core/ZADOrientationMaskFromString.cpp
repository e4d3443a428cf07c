#include "ads/core/ZADOrientationMaskFromString.h"

uint64_t ZADOrientationMaskFromString(std::string_view text) {
    if (text == "any") {
        return 30;
    }
    if (text == "portrait") {
        return 6;
    }
    if (text == "landscape") {
        return 24;
    }
    return 0;
}
