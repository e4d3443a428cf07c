#include "ads/signals/ZADRunOnMainThread.h"

#include "platform/base/NSThread.h"
#include "platform/dispatch/dispatch.h"

void ZADRunOnMainThread(std::function<void()> block) {
    if (!block) {
        return;
    }
    if (NSThread::isMainThread()) {
        block();
    } else {
        dispatch_async(dispatch_get_main_queue(), std::move(block));
    }
}
