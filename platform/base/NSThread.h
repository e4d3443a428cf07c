// Which thread is the main one: the thread that runs the main run loop, where UI and
// public callbacks live.
#pragma once

class NSThread {
public:
    // True on the thread that created the main run loop or was marked as main; false
    // everywhere before either happened.
    static bool isMainThread();
    static void markCurrentThreadAsMain();
};
