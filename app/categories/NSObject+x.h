// Task helpers available to every object: run work on the global queue, the current
// queue or the main queue, now or later, and run a block once per user-defaults key.
#pragma once

#include <functional>
#include <string>

namespace x {
using Block = std::function<void()>;

void asyncTask(Block block);
// Submitted (not waited for) to the queue current at the call.
void syncTask(Block block);
void syncTaskOnMain(Block block);
void asyncTaskAfter(Block block, double seconds);
void syncTaskAfter(Block block, double seconds);
void syncTaskOnMainAfter(Block block, double seconds);
// `task` on the global queue, then `completion` on the main queue; an absent completion
// is allowed.
void asyncTaskReturnOnMain(Block task, Block completion);
// Runs the block on the caller's thread unless the flag under `key` is set; sets the flag
// (and saves it) only after the block returned.
void execOnceOnKeyBlock(const std::string& key, const Block& block);
inline bool isIPad() {
    return true;
}
} // namespace x
