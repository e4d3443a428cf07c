#include "tests/support/editor/ToolAnswer.h"

ToolAnswer pressOK(PEImageToolBase& tool, const std::function<void()>& settle) {
    // Shared, so that an answer after the test has read it writes nowhere stale.
    auto answer = std::make_shared<ToolAnswer>();
    tool.executeWithCompletionBlock([answer](std::shared_ptr<UIImage> image,
                                             std::shared_ptr<NSError> error,
                                             std::shared_ptr<NSObject> userInfo) {
        answer->image = std::move(image);
        answer->error = std::move(error);
        answer->userInfo = std::move(userInfo);
        ++answer->calls;
    });
    if (settle) {
        settle();
    }
    return *answer;
}
