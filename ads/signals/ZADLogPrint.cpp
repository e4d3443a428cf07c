#include "ads/signals/ZADLogPrint.h"

#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSLog.h"

void ZADLogPrintText(std::string text) {
    // Made on the first line and kept for the life of the process.
    static const dispatch_queue_t queue =
        dispatch_queue_create("com.zivido.vazer.logging", DISPATCH_QUEUE_SERIAL);
    dispatch_async(queue, [text = std::move(text)] { NSLog("%@", text); });
}
