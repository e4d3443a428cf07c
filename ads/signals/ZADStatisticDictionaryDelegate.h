// Who is told when a statistic dictionary changes: on its own notification queue, at most
// one notification pending per dictionary. Without a queue it is never told.
#pragma once

#include "platform/dispatch/dispatch.h"

#include <memory>

class ZADStatisticDictionary;

class ZADStatisticDictionaryDelegate {
public:
    virtual ~ZADStatisticDictionaryDelegate() = default;

    virtual dispatch_queue_t notificationQueue() { return nullptr; }
    virtual void
    didUpdateStatisticDictionary(const std::shared_ptr<ZADStatisticDictionary>& dictionary) = 0;
};
