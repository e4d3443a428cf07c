// The errors of reading and writing image files: their domain and codes. The description
// is the reason in words, often the codec library's own message.
#pragma once

#include "platform/foundation/ErrorOr.h"

inline constexpr const char* ImageCodecErrorDomain = "ImageCodecErrorDomain";

enum : long {
    // Nothing to encode, or nothing to decode to (an empty size or part of the picture).
    ImageCodecErrorNoImage = 1,
    // The bytes are neither a PNG nor a JPEG file.
    ImageCodecErrorUnknownFormat = 2,
    // The file is empty, damaged or cut short, or uses what the codec cannot read.
    ImageCodecErrorDamagedFile = 3,
    // More pixels (or scans) than a decoder takes on.
    ImageCodecErrorTooLarge = 4,
    // The encoder gave up.
    ImageCodecErrorEncodeFailed = 5,
};
