// The C-style dispatch API the system code calls, over DispatchQueue.
#pragma once

#include "platform/dispatch/DispatchQueue.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

using dispatch_queue_t = std::shared_ptr<DispatchQueue>;
using dispatch_block_t = std::function<void()>;
using dispatch_once_t = std::once_flag;

inline constexpr long DISPATCH_QUEUE_PRIORITY_HIGH = 2;
inline constexpr long DISPATCH_QUEUE_PRIORITY_DEFAULT = 0;
inline constexpr long DISPATCH_QUEUE_PRIORITY_LOW = -2;
inline constexpr long DISPATCH_QUEUE_PRIORITY_BACKGROUND = INT16_MIN;

enum class DispatchQueueAttribute { Serial, Concurrent };
inline constexpr DispatchQueueAttribute DISPATCH_QUEUE_SERIAL = DispatchQueueAttribute::Serial;
inline constexpr DispatchQueueAttribute DISPATCH_QUEUE_CONCURRENT =
    DispatchQueueAttribute::Concurrent;

dispatch_queue_t dispatch_get_main_queue();
// `flags` is reserved, as on the platform.
dispatch_queue_t dispatch_get_global_queue(long priority, unsigned long flags);
dispatch_queue_t dispatch_queue_create(const std::string& label, DispatchQueueAttribute attr);
dispatch_queue_t dispatch_get_current_queue();

// A null queue is reported and the block dropped.
void dispatch_async(const dispatch_queue_t& queue, dispatch_block_t block);
void dispatch_sync(const dispatch_queue_t& queue, dispatch_block_t block);
void dispatch_after(double seconds, const dispatch_queue_t& queue, dispatch_block_t block);

void dispatch_once(dispatch_once_t* predicate, const dispatch_block_t& block);
