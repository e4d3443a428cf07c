// How the engine brings work onto the main thread, where every public ad callback runs.
#pragma once

#include <functional>

// On the main thread: runs `block` at once, before returning. Elsewhere: queues it on the
// main queue and returns. Since the block may run inline, a caller must not hold a lock
// that the block takes.
void ZADRunOnMainThread(std::function<void()> block);
