// How the editor's outlines (the spot effect's ring, the blur tool's circle and band) show
// a change: at full opacity at once, fading out over 0.2 s a second after the last change,
// touches passing through meanwhile. The fade waits on the clock rather than in a delayed
// animation, whose final alpha would take effect at once and hide the outline straight away.
#pragma once

#include <cstdint>
#include <memory>

class UIView;

class PEOutlineFade {
public:
    // Asks `view` to be drawn again, makes it fully opaque and starts its wait anew: a fade
    // still waiting for an earlier call is dropped. Main thread.
    void showThenFade(UIView& view);

private:
    // Counts the calls, shared with the waiting fades: only the latest call's fade runs.
    std::shared_ptr<uint64_t> shown_ = std::make_shared<uint64_t>(0);
};
