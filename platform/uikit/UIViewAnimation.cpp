#include "platform/uikit/UIViewAnimation.h"

#include "platform/base/NSRunLoop.h"
#include "platform/uikit/UIView.h"

#include <optional>

namespace {
struct PendingBlock {
    UIViewAnimationRecord record;
    UIViewAnimation::Block stopHandler;
};

// Animation blocks nest; changes are noted on the innermost. Main thread only.
std::vector<PendingBlock>& openBlocks() {
    static std::vector<PendingBlock> blocks;
    return blocks;
}

std::vector<UIViewAnimationRecord>& allRecords() {
    static std::vector<UIViewAnimationRecord> records;
    return records;
}

// Only the latest records are kept: enough to check a screen, bounded over a long run.
constexpr size_t kKeptRecords = 256;

void finish(UIViewAnimationRecord record, UIViewAnimation::Completion completion) {
    double total = record.delay + record.duration;
    auto& records = allRecords();
    if (records.size() >= kKeptRecords) {
        records.erase(records.begin());
    }
    records.push_back(std::move(record));
    if (completion) {
        NSRunLoop::mainRunLoop().addTimer(total, [completion] { completion(true); });
    }
}
} // namespace

void UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(double duration,
                                                                          double delay,
                                                                          unsigned options,
                                                                          const Block& animations,
                                                                          Completion completion) {
    openBlocks().push_back({{duration, delay, options, {}}, nullptr});
    if (animations) {
        animations();
    }
    auto record = std::move(openBlocks().back().record);
    openBlocks().pop_back();
    finish(std::move(record), std::move(completion));
}

void UIViewAnimation::transitionWithViewDurationOptionsAnimationsCompletion(
    const std::shared_ptr<UIView>& view, double duration, unsigned options, const Block& animations,
    Completion completion) {
    animateWithDurationDelayOptionsAnimationsCompletion(duration, 0, options, animations,
                                                        std::move(completion));
}

void UIViewAnimation::beginAnimationsContext(const std::string&) {
    // The platform's default duration for the older form is 0.2 s.
    openBlocks().push_back({{0.2, 0, 0, {}}, nullptr});
}

void UIViewAnimation::setAnimationDuration(double seconds) {
    if (!openBlocks().empty()) {
        openBlocks().back().record.duration = seconds;
    }
}

void UIViewAnimation::setAnimationDelay(double seconds) {
    if (!openBlocks().empty()) {
        openBlocks().back().record.delay = seconds;
    }
}

void UIViewAnimation::setAnimationDidStopHandler(Block handler) {
    if (!openBlocks().empty()) {
        openBlocks().back().stopHandler = std::move(handler);
    }
}

void UIViewAnimation::commitAnimations() {
    if (openBlocks().empty()) {
        return;
    }
    PendingBlock block = std::move(openBlocks().back());
    openBlocks().pop_back();
    Completion completion;
    if (block.stopHandler) {
        completion = [handler = std::move(block.stopHandler)](bool) { handler(); };
    }
    finish(std::move(block.record), std::move(completion));
}

void UIViewAnimation::noteChange(const UIView& view, const char* property) {
    if (!openBlocks().empty()) {
        openBlocks().back().record.keys.push_back(view.className() + "." + property);
    }
}

bool UIViewAnimation::isInsideAnimationBlock() {
    return !openBlocks().empty();
}

const std::vector<UIViewAnimationRecord>& UIViewAnimation::records() {
    return allRecords();
}

void UIViewAnimation::clearRecords() {
    allRecords().clear();
}

void UIViewAnimation::resetForTesting() {
    allRecords().clear();
    openBlocks().clear();
}
