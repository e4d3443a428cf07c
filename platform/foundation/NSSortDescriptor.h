// One key of an ordering: which property to compare and in which direction, as fetches
// take it.
#pragma once

#include <string>

struct NSSortDescriptor {
    std::string key;
    bool ascending = true;

    static NSSortDescriptor sortDescriptorWithKeyAscending(std::string key, bool ascending) {
        return {std::move(key), ascending};
    }
};
