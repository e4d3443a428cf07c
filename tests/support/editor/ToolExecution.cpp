#include "tests/support/editor/ToolExecution.h"

#include "editor/PEImageToolBase.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSError.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

std::shared_ptr<UIImage> executeAndWait(PEImageToolBase& tool, TaskEnvironment& environment,
                                        const std::function<void()>& meanwhile) {
    if (meanwhile) {
        GlobalThreadPool::shared().setManualStepping(true);
    }
    std::shared_ptr<UIImage> answer;
    bool answered = false;
    tool.executeWithCompletionBlock([&](std::shared_ptr<UIImage> image,
                                        std::shared_ptr<NSError> error, std::shared_ptr<NSObject>) {
        EXPECT_FALSE(error) << error->description();
        EXPECT_TRUE(NSThread::isMainThread());
        answer = image;
        answered = true;
    });
    EXPECT_FALSE(answered) << "answered before the background work ran";
    if (meanwhile) {
        meanwhile();
    }
    environment.runUntilIdle();
    EXPECT_TRUE(answered);
    return answer;
}
