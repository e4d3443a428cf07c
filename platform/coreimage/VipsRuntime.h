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

    // The hand-offs between a render's caller and our kernels on the library's worker
    // threads. The library wakes its workers and waits for them on GLib's futex-based
    // locks, which the thread checker cannot see; the kernels read the caller's pixel
    // memory in place and write the library's buffers, so without an edge the checker can
    // follow, every picture freed after a render, and every kernel run, would look like a
    // race. A render hands over before it starts and takes back once the library has
    // returned; a kernel takes over before each piece of work and hands back after it.
    // One process-wide atomic counter carries both: a release that the matching acquire
    // reads. Any thread.
    static void handOver();
    static void takeOver();
};
