// The image-processing library the filter engine runs on, started once per process before
// any pipeline is built. Its operation cache is off: pipelines here are built from pixel
// memory the engine does not own, and results must never come from an earlier, unrelated
// image that happened to share an address.
#pragma once

class VipsRuntime {
public:
    // Starts the library on first call (any thread); later calls return at once. False
    // when it could not start: every pipeline then fails with a logged error.
    static bool start();
};
