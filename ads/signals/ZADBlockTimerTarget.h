// The target of a block timer: it holds the block, the timer holds it, and nothing holds
// the timer's owner, so a timer never keeps the object that made it alive.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <memory>

class NSTimer;

class ZADBlockTimerTarget : public NSObject {
    NS_OBJECT(ZADBlockTimerTarget)
public:
    using Block = std::function<void(const std::shared_ptr<NSTimer>&)>;

    static std::shared_ptr<ZADBlockTimerTarget> init();

    const Block& block() const { return block_; }
    void setBlock(Block block) { block_ = std::move(block); }

    // Calls the block with the timer; nothing without a block.
    void timerFired(const std::shared_ptr<NSTimer>& timer);

private:
    ZADBlockTimerTarget() = default;
    Block block_;
};
