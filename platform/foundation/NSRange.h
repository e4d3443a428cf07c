// A stretch of a string: where it starts and how long it is. Our strings are UTF-8, so a
// range counts bytes, and the ranges the text views hand out always start and end on
// whole characters.
#pragma once

#include <cstddef>

struct NSRange {
    size_t location = 0;
    size_t length = 0;

    bool operator==(const NSRange&) const = default;
};

inline NSRange NSMakeRange(size_t location, size_t length) {
    return {location, length};
}

inline size_t NSMaxRange(const NSRange& range) {
    return range.location + range.length;
}
