// What a tool answered to OK, and the subviews of a strip of one kind, for the tools' tests.
#pragma once

#include "editor/PEImageToolBase.h"
#include "platform/uikit/UIView.h"

#include <functional>
#include <memory>
#include <vector>

class NSError;
class UIImage;

struct ToolAnswer {
    std::shared_ptr<UIImage> image;
    std::shared_ptr<NSError> error;
    std::shared_ptr<NSObject> userInfo;
    int calls = 0;
};

// OK on the tool; `settle` (the test's run loop, when the tool answers later) runs before
// the answer is read.
ToolAnswer pressOK(PEImageToolBase& tool, const std::function<void()>& settle = {});

// The subviews of `strip` that are `Item`s, in their order.
template <class Item> std::vector<std::shared_ptr<Item>> subviewsOfKind(const UIView& strip) {
    std::vector<std::shared_ptr<Item>> found;
    for (const auto& view : strip.subviews()) {
        if (auto item = std::dynamic_pointer_cast<Item>(view)) {
            found.push_back(item);
        }
    }
    return found;
}
