// One preview at a time for each tool class: while one renders, a change starts none (the
// next change asks again). Closed on the main thread; opened by the render, on the
// background queue, as soon as it is done.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

class UIImage;

class PEPreviewGate {
public:
    using Render = std::function<std::shared_ptr<UIImage>()>;
    using Show = std::function<void(const std::shared_ptr<UIImage>&)>;

    // The gate of the tool class `Tool`.
    template <class Tool> static PEPreviewGate& of() {
        static PEPreviewGate gate;
        return gate;
    }

    // True, with the gate closed, when no preview was under way.
    bool enter() { return !busy_.exchange(true); }
    void leave() { busy_.store(false); }
    bool isBusy() const { return busy_.load(); }

    // Unless a preview is under way: `render` runs on the editor's background queue and the
    // picture it made, if any, goes to `show` on the main thread.
    void preview(Render render, Show show);

private:
    std::atomic<bool> busy_{false};
};
