// The place of an item in a list of sections: a section and an item (a row, in tables).
// Immutable, so a value here; ordered by section, then item.
#pragma once

#include <compare>
#include <string>

class NSIndexPath {
public:
    NSIndexPath() = default;
    static NSIndexPath indexPathForItemInSection(long item, long section) {
        return NSIndexPath(section, item);
    }
    static NSIndexPath indexPathForRowInSection(long row, long section) {
        return NSIndexPath(section, row);
    }

    long section() const { return section_; }
    long item() const { return item_; }
    long row() const { return item_; }

    // "{section, item}".
    std::string description() const {
        return "{" + std::to_string(section_) + ", " + std::to_string(item_) + "}";
    }

    friend auto operator<=>(const NSIndexPath&, const NSIndexPath&) = default;

private:
    NSIndexPath(long section, long item) : section_(section), item_(item) {}

    long section_ = 0;
    long item_ = 0;
};
