// A dispatch queue: the main queue (tasks on the main run loop), the global queues (the
// shared thread pool, tasks run concurrently) and serial queues (one task at a time, in
// order, on the pool). dispatch.h is the C-style face the system code calls.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <memory>
#include <string>

class DispatchQueue : public NSObject {
    NS_OBJECT(DispatchQueue)
public:
    static std::shared_ptr<DispatchQueue> mainQueue();
    // One queue per priority, the same object every time; unknown priorities get the
    // default one. All share the one pool.
    static std::shared_ptr<DispatchQueue> globalQueue(long priority);
    static std::shared_ptr<DispatchQueue> serialQueueWithLabel(std::string label);
    // Another handle on the global pool, under its own label.
    static std::shared_ptr<DispatchQueue> concurrentQueueWithLabel(std::string label);
    // The queue whose task runs on this thread; else the main queue on the main thread,
    // else the default global queue.
    static std::shared_ptr<DispatchQueue> current();

    const std::string& label() const { return label_; }
    bool isMain() const { return kind_ == Kind::Main; }
    std::string description() const override;

    void async(std::function<void()> block);
    // Runs the block and waits for it. The main queue from the main thread and the
    // concurrent queues run it inline; a serial queue runs it after what is queued there
    // (under manual stepping the caller steps the pool until then).
    void sync(std::function<void()> block);
    // Submits the block to this queue `seconds` from now, timed by a main run-loop timer.
    void after(double seconds, std::function<void()> block);

private:
    enum class Kind { Main, Global, Serial };
    DispatchQueue(Kind kind, std::string label) : kind_(kind), label_(std::move(label)) {}
    static std::shared_ptr<DispatchQueue> makeShared(Kind kind, std::string label);
    // Runs the block with this queue as current() on the calling thread.
    void runAsCurrent(const std::function<void()>& block);

    Kind kind_;
    std::string label_;
};
