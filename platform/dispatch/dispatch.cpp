#include "platform/dispatch/dispatch.h"

#include <cstdio>

namespace {
bool checkQueue(const dispatch_queue_t& queue, const char* function) {
    if (!queue) {
        std::fprintf(stderr, "%s: null queue, block dropped\n", function);
    }
    return static_cast<bool>(queue);
}
} // namespace

dispatch_queue_t dispatch_get_main_queue() {
    return DispatchQueue::mainQueue();
}

dispatch_queue_t dispatch_get_global_queue(long priority, unsigned long) {
    return DispatchQueue::globalQueue(priority);
}

dispatch_queue_t dispatch_queue_create(const std::string& label, DispatchQueueAttribute attr) {
    return attr == DispatchQueueAttribute::Serial ? DispatchQueue::serialQueueWithLabel(label)
                                                  : DispatchQueue::concurrentQueueWithLabel(label);
}

dispatch_queue_t dispatch_get_current_queue() {
    return DispatchQueue::current();
}

void dispatch_async(const dispatch_queue_t& queue, dispatch_block_t block) {
    if (checkQueue(queue, "dispatch_async")) {
        queue->async(std::move(block));
    }
}

void dispatch_sync(const dispatch_queue_t& queue, dispatch_block_t block) {
    if (checkQueue(queue, "dispatch_sync")) {
        queue->sync(std::move(block));
    }
}

void dispatch_after(double seconds, const dispatch_queue_t& queue, dispatch_block_t block) {
    if (checkQueue(queue, "dispatch_after")) {
        queue->after(seconds, std::move(block));
    }
}

void dispatch_once(dispatch_once_t* predicate, const dispatch_block_t& block) {
    if (predicate && block) {
        std::call_once(*predicate, block);
    }
}
