// The character sets content hashing splits text with, read from the stored unicode-range
// settings. Content hashing is not built yet, so there is nothing to re-read when the
// settings change.
#pragma once

class ZADCharacterSets {
public:
    static void updateCharacterSets() {}
};
