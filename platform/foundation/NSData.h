// Whole-file reads and crash-safe whole-file writes of bytes.
#pragma once

#include "platform/foundation/DefaultInitAllocator.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct NSData {
    // The file's bytes; nothing when it cannot be read (missing, a folder, no permission).
    static std::optional<ByteBuffer> dataWithContentsOfFile(const std::string& path);
    // Writes beside the target and renames over it, so a reader sees the old file or the
    // new one, never half of one. On failure the old file is untouched.
    static bool writeToFileAtomically(const std::vector<uint8_t>& data, const std::string& path);
};
