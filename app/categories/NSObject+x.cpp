#include "app/categories/NSObject+x.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSUserDefaults.h"

namespace x {

namespace {
dispatch_queue_t globalQueue() {
    return dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
}
} // namespace

void asyncTask(Block block) {
    dispatch_async(globalQueue(), std::move(block));
}

void syncTask(Block block) {
    dispatch_async(dispatch_get_current_queue(), std::move(block));
}

void syncTaskOnMain(Block block) {
    dispatch_async(dispatch_get_main_queue(), std::move(block));
}

void asyncTaskAfter(Block block, double seconds) {
    dispatch_after(seconds, globalQueue(), std::move(block));
}

void syncTaskAfter(Block block, double seconds) {
    dispatch_after(seconds, dispatch_get_current_queue(), std::move(block));
}

void syncTaskOnMainAfter(Block block, double seconds) {
    dispatch_after(seconds, dispatch_get_main_queue(), std::move(block));
}

void asyncTaskReturnOnMain(Block task, Block completion) {
    dispatch_async(globalQueue(), [task = std::move(task), completion = std::move(completion)] {
        task();
        if (completion) {
            dispatch_async(dispatch_get_main_queue(), completion);
        }
    });
}

void execOnceOnKeyBlock(const std::string& key, const Block& block) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    if (defaults->boolForKey(key)) {
        return;
    }
    block();
    defaults->setBoolForKey(true, key);
    defaults->synchronize();
}

} // namespace x
